#include "editors/KeyChangeSection.h"

#include <algorithm>
#include <vector>

#include "common/RuleRecord.h"
#include "common/TextCase.h"
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

}  // namespace

std::optional<KeyChangeEntry> ParseKeyChangeLine(const std::string& line, bool forProgram) {
  if (std::count(line.begin(), line.end(), '=') != 1) return std::nullopt;
  std::vector<std::string> parts;
  CUtilityLib::SplitStringByToken(line, '=', parts, false, false);
  const auto from = parts.empty() ? std::nullopt : ReadPair(parts[0]);
  if (forProgram && from && TrimBlanks(line.substr(line.find('=') + 1)).empty()) {
    return MakeOriginalKeyEntry(*from);
  }
  if (parts.size() != 2) return std::nullopt;
  const auto to = ReadPair(parts[1]);
  if (!from || !to) return std::nullopt;
  return MakeKeyChangeEntry(*from, *to);
}

std::string KeyChangeLine(const KeyChangeEntry& entry) {
  return FormatKeyCodePair(entry.From()) + "=" +
         (entry.KeepsOriginal ? "" : FormatKeyCodePair(entry.To()));
}
