// UTF-8 and UTF-16 conversions for the probe: titles and texts come as UTF-16, arguments and
// output are UTF-8.
#include "tests/e2e/win32/ProbeText.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

std::string Utf8(const std::wstring& text) {
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), length, nullptr, nullptr);
  result.resize(std::strlen(result.c_str()));
  return result;
}

std::string Ansi(const std::string& text) {
  const std::wstring wide = Wide(text.c_str());
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, result.data(), length, nullptr, nullptr);
  result.resize(std::strlen(result.c_str()));
  return result;
}

std::wstring Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), length);
  result.resize(std::wcslen(result.c_str()));
  return result;
}
