#include "profile/IniFileProfile.h"

#include <fstream>
#include <iterator>

#include "profile/FileReplacement.h"
#include "profile/IniDocument.h"
#include "profile/SectionReplacement.h"

namespace {

std::string ReadWholeFile(std::string_view file) {
  std::ifstream in{std::string(file), std::ios::binary};
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteWholeFile(std::string_view file, const std::string& text) {
  return ReplaceFileContents(std::string(file), text);
}

std::string Bounded(std::string_view text, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  return std::string(text.substr(0, bufferSize - 1));
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string IniFileProfile::GetString(std::string_view file, std::string_view section,
                                      std::string_view key, std::string_view defaultValue,
                                      std::size_t bufferSize) {
  const IniDocument document(ReadWholeFile(file));
  if (const auto value = document.FindValue(section, key)) {
    return Bounded(StripOuterQuotes(*value), bufferSize);
  }
  return Bounded(TrimTrailingBlanks(defaultValue), bufferSize);
}

ProfileSection IniFileProfile::GetSection(std::string_view file, std::string_view section,
                                          std::size_t bufferSize) {
  const IniDocument document(ReadWholeFile(file));
  // The Windows call fills "line\0line\0\0"; when that does not fit, it keeps the first
  // bufferSize - 2 characters, closes with two zeros and reports bufferSize - 2.
  std::string packed;
  for (const std::string& entry : document.SectionEntries(section)) {
    packed += entry;
    packed += '\0';
  }
  ProfileSection result;
  if (packed.empty() || bufferSize < 2) return result;
  if (packed.size() + 1 > bufferSize) {
    packed.resize(bufferSize - 2);
    result.count = bufferSize - 2;
  } else {
    result.count = packed.size();
  }
  std::size_t start = 0;
  while (start < packed.size()) {
    std::size_t stop = packed.find('\0', start);
    if (stop == std::string::npos) stop = packed.size();
    if (stop > start) result.lines.push_back(packed.substr(start, stop - start));
    start = stop + 1;
  }
  return result;
}

std::int32_t IniFileProfile::GetInt(std::string_view file, std::string_view section,
                                    std::string_view key, std::int32_t defaultValue) {
  const std::string text = GetString(file, section, key, "", 64);
  if (text.empty()) return defaultValue;
  std::size_t i = 0;
  const bool negative = text[0] == '-';
  if (text[0] == '-' || text[0] == '+') ++i;
  std::uint32_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

bool IniFileProfile::WriteString(std::string_view file, std::string_view section,
                                 std::string_view key, std::string_view value) {
  IniDocument document(ReadWholeFile(file));
  document.SetValue(section, key, value);
  return WriteWholeFile(file, document.Text());
}

bool IniFileProfile::DeleteKey(std::string_view file, std::string_view section,
                               std::string_view key) {
  IniDocument document(ReadWholeFile(file));
  if (!document.DeleteKey(section, key)) return true;
  return WriteWholeFile(file, document.Text());
}

bool IniFileProfile::DeleteSection(std::string_view file, std::string_view section) {
  IniDocument document(ReadWholeFile(file));
  if (!document.DeleteSection(section)) return true;
  return WriteWholeFile(file, document.Text());
}

std::vector<std::string> IniFileProfile::SectionNames(std::string_view file) {
  return IniDocument(ReadWholeFile(file)).SectionNames();
}

bool IniFileProfile::ReplaceSections(std::string_view file,
                                     const std::vector<SectionLines>& sections) {
  const std::optional<std::string> text = ReadFileToRewrite(std::string(file));
  if (!text) return false;
  return WriteWholeFile(file, ReplaceSectionsInText(*text, sections));
}
