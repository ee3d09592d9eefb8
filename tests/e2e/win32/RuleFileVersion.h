#pragma once

#include <windows.h>

#include <string>

// A rule file's version as the library's watcher names it at the end of its debugger lines
// ("trellin_192: rule file taken in: SIZE bytes, written STAMP"): "none" for no file.
inline std::string RuleFileVersion(const std::string& file) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data)) return "none";
  const unsigned long long size =
      (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  const unsigned long long written =
      (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
      data.ftLastWriteTime.dwLowDateTime;
  return std::to_string(size) + " bytes, written " + std::to_string(written);
}
