#include "ui/win32/AnsiProfile.h"

#include "ui/win32/AnsiPath.h"
#include "ui/win32/TextConversion.h"

namespace {

std::string FileName(std::string_view file) {
  return AnsiFileName(std::string(file));
}

}  // namespace

std::string AnsiProfile::GetString(std::string_view file, std::string_view section,
                                   std::string_view key, std::string_view defaultValue,
                                   std::size_t bufferSize) {
  return AnsiToUtf8(profile_.GetString(FileName(file), Utf8ToAnsi(section), Utf8ToAnsi(key),
                                       Utf8ToAnsi(defaultValue), bufferSize));
}

ProfileSection AnsiProfile::GetSection(std::string_view file, std::string_view section,
                                       std::size_t bufferSize) {
  ProfileSection result = profile_.GetSection(FileName(file), Utf8ToAnsi(section), bufferSize);
  for (std::string& line : result.lines) line = AnsiToUtf8(line);
  return result;
}

std::vector<std::string> AnsiProfile::SectionNames(std::string_view file) {
  std::vector<std::string> names = profile_.SectionNames(FileName(file));
  for (std::string& name : names) name = AnsiToUtf8(name);
  return names;
}

std::int32_t AnsiProfile::GetInt(std::string_view file, std::string_view section,
                                 std::string_view key, std::int32_t defaultValue) {
  return profile_.GetInt(FileName(file), Utf8ToAnsi(section), Utf8ToAnsi(key), defaultValue);
}

bool AnsiProfile::WriteString(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view value) {
  return profile_.WriteString(FileName(file), Utf8ToAnsi(section), Utf8ToAnsi(key),
                              Utf8ToAnsi(value));
}

bool AnsiProfile::DeleteKey(std::string_view file, std::string_view section, std::string_view key) {
  return profile_.DeleteKey(FileName(file), Utf8ToAnsi(section), Utf8ToAnsi(key));
}

bool AnsiProfile::DeleteSection(std::string_view file, std::string_view section) {
  return profile_.DeleteSection(FileName(file), Utf8ToAnsi(section));
}

// Nothing goes with a best fit: a line the code page cannot hold fails the whole replacement,
// and the old sections stay.
bool AnsiProfile::ReplaceSections(std::string_view file,
                                  const std::vector<SectionLines>& sections) {
  std::vector<SectionLines> ansi;
  for (const SectionLines& section : sections) {
    SectionLines converted;
    const auto name = Utf8ToAnsiExactly(section.name);
    if (!name) return false;
    converted.name = *name;
    for (const std::string& line : section.lines) {
      const auto text = Utf8ToAnsiExactly(line);
      if (!text) return false;
      converted.lines.push_back(*text);
    }
    ansi.push_back(std::move(converted));
  }
  return profile_.ReplaceSections(FileName(file), ansi);
}
