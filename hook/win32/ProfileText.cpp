#include "hook/win32/ProfileText.h"

#include <windows.h>

#include <string_view>

namespace {

std::string WideToAnsi(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

std::string ToAnsi(const std::string& bytes) {
  const std::string_view view(bytes);
  if (view.size() >= 2 && static_cast<unsigned char>(view[0]) == 0xFF &&
      static_cast<unsigned char>(view[1]) == 0xFE) {
    std::wstring wide((view.size() - 2) / 2, L'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
      wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(view[2 + 2 * i]) |
                                     (static_cast<unsigned char>(view[3 + 2 * i]) << 8));
    }
    return WideToAnsi(wide.data(), static_cast<int>(wide.size()));
  }
  if (view.size() >= 2 && static_cast<unsigned char>(view[0]) == 0xFE &&
      static_cast<unsigned char>(view[1]) == 0xFF) {
    std::wstring wide((view.size() - 2) / 2, L'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
      wide[i] = static_cast<wchar_t>((static_cast<unsigned char>(view[2 + 2 * i]) << 8) |
                                     static_cast<unsigned char>(view[3 + 2 * i]));
    }
    return WideToAnsi(wide.data(), static_cast<int>(wide.size()));
  }
  if (view.size() >= 3 && view.substr(0, 3) == "\xEF\xBB\xBF") {
    const std::string_view utf8 = view.substr(3);
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          length);
    }
    return WideToAnsi(wide.data(), static_cast<int>(wide.size()));
  }
  return bytes;
}

}  // namespace

HookPlatform::RuleFileRead ReadProfileText(const char* file, std::uint64_t largest) {
  using Outcome = HookPlatform::RuleFileRead::Outcome;
  HookPlatform::RuleFileRead read;
  // Others may write, rename or delete the file meanwhile: the change is seen next time.
  const HANDLE handle =
      CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // Only a file that is not there is an empty rule file; a sharing violation, a denied
    // access or a failing disk is a read to try again.
    read.outcome = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Outcome::Missing
                                                                                  : Outcome::Failed;
    return read;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle, &size)) {
    read.outcome = Outcome::Failed;
  } else if (static_cast<std::uint64_t>(size.QuadPart) > largest) {
    read.outcome = Outcome::TooLarge;
  } else {
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    const bool ok = bytes.empty() || ReadFile(handle, bytes.data(),
                                              static_cast<DWORD>(bytes.size()), &got, nullptr) != 0;
    if (ok) {
      bytes.resize(got);
      read.outcome = Outcome::Read;
      read.text = ToAnsi(bytes);
    } else {
      read.outcome = Outcome::Failed;
    }
  }
  CloseHandle(handle);
  return read;
}
