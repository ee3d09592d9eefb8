#include "ui/win32/AnsiPath.h"

#include <windows.h>

#include <limits>

#include "ui/win32/TextConversion.h"

namespace {

std::optional<std::string> Exactly(const std::wstring& text) {
  return WideToAnsiExactly(text);
}

// GetShortPathNameW answers only for paths that exist.
std::optional<std::wstring> ShortForm(const std::wstring& path) {
  const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring shortPath(size, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  shortPath.resize(length);
  return shortPath;
}

// The rule file may not exist before the first write: shorten its folder, keep its name.
std::optional<std::wstring> ShortFormOfFolder(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash == 0) return std::nullopt;
  const auto folder = ShortForm(path.substr(0, slash));
  if (!folder) return std::nullopt;
  return *folder + path.substr(slash);
}

std::optional<std::string> Fitting(std::optional<std::string> path, std::size_t maxBytes) {
  if (path && path->size() > maxBytes) return std::nullopt;
  return path;
}

}  // namespace

std::optional<std::string> AnsiCodePagePath(const std::string& path, std::size_t maxBytes) {
  const std::wstring wide = Utf8ToWide(path);
  if (auto exact = Fitting(Exactly(wide), maxBytes)) return exact;
  auto shortPath = ShortForm(wide);
  if (!shortPath) shortPath = ShortFormOfFolder(wide);
  if (!shortPath) return std::nullopt;
  return Fitting(Exactly(*shortPath), maxBytes);
}

std::string AnsiFileName(const std::string& path) {
  if (auto ansi = AnsiCodePagePath(path, std::numeric_limits<std::size_t>::max())) return *ansi;
  const std::wstring wide = Utf8ToWide(path);
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr,
                                         0, "?", nullptr);
  std::string narrow(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, narrow.data(), length, "?",
                      nullptr);
  return narrow;
}
