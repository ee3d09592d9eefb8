#include "hook/win32/ProfileText.h"

#include <windows.h>

#include <string_view>

namespace {

// Bigger than any rule file; a larger one is not a rule file, and reading it would hold the
// hook call.
constexpr DWORD kLargestFile = 16 * 1024 * 1024;

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

std::string ReadProfileText(const char* file) {
  // Others may write, rename or delete the file meanwhile: the change is seen next time.
  const HANDLE handle =
      CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(handle, &size) && size.QuadPart > 0 && size.QuadPart <= kLargestFile) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
    bytes.resize(read);
  }
  CloseHandle(handle);
  return ToAnsi(bytes);
}
