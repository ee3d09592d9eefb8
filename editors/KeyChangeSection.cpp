#include "editors/KeyChangeSection.h"

#include <algorithm>

#include "common/RuleRecord.h"
#include "editors/KeyNaming.h"
#include "ui/CUtilityLib.h"

namespace {

// The pair of a "vv/ss" text: its first two fields read as hexadecimal, low bytes; nullopt
// when it has fewer than two fields.
std::optional<KeyCodePair> ReadPair(const std::string& text) {
  const std::vector<std::string> fields = SplitRecord(text);
  if (fields.size() < 2) return std::nullopt;
  return KeyCodePair{static_cast<std::uint8_t>(ReadHexField(fields[0]) & 0xFF),
                     static_cast<std::uint8_t>(ReadHexField(fields[1]) & 0xFF)};
}

KeptKeyChangeLine KeepLine(std::size_t place, const std::string& line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return {place, line, ""};
  return {place, line.substr(0, equals), line.substr(equals + 1)};
}

}  // namespace

KeyChangeSection ReadKeyChangeSection(const std::string& ruleFile) {
  KeyChangeSection section;
  const std::vector<std::string> lines =
      CUtilityLib::GetWholeProfileSection(kKeyChangeSection, ruleFile);
  for (std::size_t place = 0; place < lines.size(); ++place) {
    const std::string& line = lines[place];
    std::vector<std::string> parts;
    CUtilityLib::SplitStringByToken(line, '=', parts, false, false);
    const bool oneEquals = std::count(line.begin(), line.end(), '=') == 1;
    const auto from = parts.size() == 2 ? ReadPair(parts[0]) : std::nullopt;
    const auto to = parts.size() == 2 ? ReadPair(parts[1]) : std::nullopt;
    if (!oneEquals || !from || !to) {
      section.kept.push_back(KeepLine(place, line));
      continue;
    }
    section.entries.push_back(MakeKeyChangeEntry(*from, *to));
    section.entryLines.push_back(place);
  }
  return section;
}

void WriteKeyChangeSection(const std::string& ruleFile, const std::vector<KeyChangeRow>& rows,
                           const std::vector<KeptKeyChangeLine>& kept) {
  Profile& profile = CUtilityLib::Get().Profiles();
  profile.DeleteSection(ruleFile, kKeyChangeSection);
  std::size_t nextKept = 0;
  // Writes the kept lines that stood before `place` (all that are left without one).
  const auto writeKeptBefore = [&](std::optional<std::size_t> place) {
    for (; nextKept < kept.size() && (!place || kept[nextKept].line < *place); ++nextKept) {
      profile.WriteString(ruleFile, kKeyChangeSection, kept[nextKept].key, kept[nextKept].value);
    }
  };
  for (const KeyChangeRow& row : rows) {
    writeKeptBefore(row.line);
    profile.WriteString(ruleFile, kKeyChangeSection, FormatKeyCodePair(row.entry->From()),
                        FormatKeyCodePair(row.entry->To()));
  }
  writeKeptBefore(std::nullopt);
}

void DeleteKeyChange(const std::string& ruleFile, KeyCodePair from) {
  CUtilityLib::Get().Profiles().DeleteKey(ruleFile, kKeyChangeSection, FormatKeyCodePair(from));
}
