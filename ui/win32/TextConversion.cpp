#include "ui/win32/TextConversion.h"

#include <windows.h>

namespace {

std::wstring ToWide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string FromWide(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                      length, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) {
  return ToWide(text, CP_UTF8);
}
std::string WideToUtf8(std::wstring_view text) {
  return FromWide(text, CP_UTF8);
}
std::string Utf8ToAnsi(std::string_view text) {
  return FromWide(ToWide(text, CP_UTF8), CP_ACP);
}
std::string AnsiToUtf8(std::string_view text) {
  return FromWide(ToWide(text, CP_ACP), CP_UTF8);
}

std::optional<std::string> WideToAnsiExactly(std::wstring_view text) {
  if (text.empty()) return std::string();
  // With UTF-8 as the ANSI code page (a Windows option) every text maps, and the
  // used-default check is not allowed for it.
  if (GetACP() == CP_UTF8) return WideToUtf8(text);
  const int size = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr,
                                         0, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return std::nullopt;
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, narrow.data(), length,
                      nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return narrow;
}

std::optional<std::string> Utf8ToAnsiExactly(std::string_view text) {
  return WideToAnsiExactly(Utf8ToWide(text));
}
