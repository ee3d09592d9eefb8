#include "profile/win32/Win32Profile.h"

#include <windows.h>

#include <vector>

#include "profile/win32/Win32FileReplacement.h"

namespace {

std::string Text(std::string_view view) {
  return std::string(view);
}

std::string AnsiToUtf8Bytes(const std::string& text) {
  if (text.empty()) return text;
  const int size = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), wideLength);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace

std::string Win32Profile::GetString(std::string_view file, std::string_view section,
                                    std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::vector<char> buffer(bufferSize, '\0');
  const DWORD count =
      GetPrivateProfileStringA(Text(section).c_str(), Text(key).c_str(), Text(defaultValue).c_str(),
                               buffer.data(), static_cast<DWORD>(bufferSize), Text(file).c_str());
  return std::string(buffer.data(), count);
}

ProfileSection Win32Profile::GetSection(std::string_view file, std::string_view section,
                                        std::size_t bufferSize) {
  ProfileSection result;
  if (bufferSize == 0) return result;
  std::vector<char> buffer(bufferSize + 2, '\0');
  result.count = GetPrivateProfileSectionA(Text(section).c_str(), buffer.data(),
                                           static_cast<DWORD>(bufferSize), Text(file).c_str());
  // "line\0line\0\0": the lines end at the first empty one.
  for (std::size_t start = 0; start < result.count && buffer[start] != '\0';) {
    const std::string line(buffer.data() + start);
    result.lines.push_back(line);
    start += line.size() + 1;
  }
  return result;
}

// "name\0name\0\0"; a buffer too small is reported as its size less two, so it grows until
// the names fit.
std::vector<std::string> Win32Profile::SectionNames(std::string_view file) {
  for (DWORD size = 4096;; size *= 2) {
    std::vector<char> buffer(size + 2, '\0');
    const DWORD count = GetPrivateProfileSectionNamesA(buffer.data(), size, Text(file).c_str());
    if (count + 2 >= size && size < (DWORD{1} << 26)) continue;
    std::vector<std::string> names;
    for (std::size_t start = 0; start < count && buffer[start] != '\0';) {
      names.emplace_back(buffer.data() + start);
      start += names.back().size() + 1;
    }
    return names;
  }
}

std::int32_t Win32Profile::GetInt(std::string_view file, std::string_view section,
                                  std::string_view key, std::int32_t defaultValue) {
  return static_cast<std::int32_t>(GetPrivateProfileIntA(Text(section).c_str(), Text(key).c_str(),
                                                         defaultValue, Text(file).c_str()));
}

bool Win32Profile::WriteString(std::string_view file, std::string_view section,
                               std::string_view key, std::string_view value) {
  return WritePrivateProfileStringA(Text(section).c_str(), Text(key).c_str(), Text(value).c_str(),
                                    Text(file).c_str()) != FALSE;
}

bool Win32Profile::DeleteKey(std::string_view file, std::string_view section,
                             std::string_view key) {
  return WritePrivateProfileStringA(Text(section).c_str(), Text(key).c_str(), nullptr,
                                    Text(file).c_str()) != FALSE;
}

bool Win32Profile::DeleteSection(std::string_view file, std::string_view section) {
  return WritePrivateProfileStringA(Text(section).c_str(), nullptr, nullptr, Text(file).c_str()) !=
         FALSE;
}

// The profile functions write a file in its own encoding: a file that starts with a UTF-8 mark
// is UTF-8 throughout, so the new lines go so too. A UTF-16 file is left to them alone.
bool Win32Profile::ReplaceSections(std::string_view file,
                                   const std::vector<SectionLines>& sections) {
  const std::optional<std::string> text = ReadFileToRewriteA(Text(file));
  if (!text) return false;
  if (text->rfind("\xFF\xFE", 0) == 0 || text->rfind("\xFE\xFF", 0) == 0) return false;
  std::vector<SectionLines> written = sections;
  if (text->rfind("\xEF\xBB\xBF", 0) == 0) {
    for (SectionLines& section : written) {
      section.name = AnsiToUtf8Bytes(section.name);
      for (std::string& line : section.lines) line = AnsiToUtf8Bytes(line);
    }
  }
  return ReplaceFileContentsA(Text(file), ReplaceSectionsInText(*text, written));
}
