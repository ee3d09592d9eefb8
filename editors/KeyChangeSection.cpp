#include "editors/KeyChangeSection.h"

#include <algorithm>
#include <vector>

#include "common/RuleRecord.h"
#include "common/TextCase.h"

namespace {

// The pair of two "vv" fields read as hexadecimal, low bytes.
KeyCodePair PairOf(const std::string& virtualKey, const std::string& scanCode) {
  return {static_cast<std::uint8_t>(ReadHexField(virtualKey) & 0xFF),
          static_cast<std::uint8_t>(ReadHexField(scanCode) & 0xFF)};
}

// The pair of a "vv/ss" text: its first two fields; nullopt when it has fewer than two fields.
std::optional<KeyCodePair> ReadPair(const std::string& text) {
  const std::vector<std::string> fields = SplitRecord(text);
  if (fields.size() < 2) return std::nullopt;
  return PairOf(fields[0], fields[1]);
}

// The key and the value of a line with exactly one "=", the key read as a pair.
struct SplitLine {
  std::optional<KeyCodePair> from;
  std::string value;
};
std::optional<SplitLine> Split(const std::string& line) {
  if (std::count(line.begin(), line.end(), '=') != 1) return std::nullopt;
  const std::size_t equals = line.find('=');
  return SplitLine{ReadPair(line.substr(0, equals)), line.substr(equals + 1)};
}

}  // namespace

// A short number suffices for the range, so a long one cannot overflow.
std::optional<int> ReadHoldMs(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty() || text.size() > 4) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const int ms = std::stoi(std::string(text));
  if (ms < kMinHoldMs || ms > kMaxHoldMs) return std::nullopt;
  return ms;
}

std::optional<KeyChangeEntry> ParseKeyChangeLine(const std::string& line, bool forProgram) {
  const auto split = Split(line);
  if (!split || !split->from) return std::nullopt;
  if (forProgram && TrimBlanks(split->value).empty()) return MakeOriginalKeyEntry(*split->from);
  const auto to = ReadPair(split->value);
  if (!to) return std::nullopt;
  return MakeKeyChangeEntry(*split->from, *to);
}

std::optional<KeyChangeEntry> ParseTapHoldLine(const std::string& line, bool forProgram) {
  const auto split = Split(line);
  if (!split || !split->from) return std::nullopt;
  if (forProgram && TrimBlanks(split->value).empty()) {
    KeyChangeEntry entry = MakeOriginalKeyEntry(*split->from);
    entry.TapHold = true;
    return entry;
  }
  // Read as the library reads it: fields after the time mean nothing, and a time beyond the
  // range counts as its nearest bound.
  const std::vector<std::string> fields = SplitRecord(split->value);
  if (fields.size() < 4) return std::nullopt;
  int ms = kDefaultHoldMs;
  if (fields.size() > 4 && !fields[4].empty()) {
    ms = std::clamp<int>(ReadDecimalField(fields[4]), kMinHoldMs, kMaxHoldMs);
  }
  return MakeTapHoldEntry(*split->from, PairOf(fields[0], fields[1]), PairOf(fields[2], fields[3]),
                          ms);
}

std::string KeyChangeLine(const KeyChangeEntry& entry) {
  std::string line = FormatKeyCodePair(entry.From()) + "=";
  if (entry.KeepsOriginal) return line;
  line += FormatKeyCodePair(entry.To());
  if (entry.TapHold) {
    line += "/" + FormatKeyCodePair(entry.Hold()) + "/" + std::to_string(entry.HoldMs);
  }
  return line;
}
