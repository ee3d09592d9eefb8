#include "editors/HotkeySection.h"

#include <vector>

#include "common/RuleFormat.h"
#include "common/RuleRecord.h"
#include "common/TextCase.h"

namespace {

std::string KeyOf(const HotkeyEntry& entry) {
  return FormatHotkeyKey(entry.Key.virtualKey, entry.Key.scanCode, entry.KeyModifiers);
}

}  // namespace

std::optional<HotkeyEntry> ParseHotkeyLine(const std::string& line, bool forProgram) {
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return std::nullopt;
  const std::string_view key = TrimBlanks(std::string_view(line).substr(0, equals));
  const std::string_view value = TrimBlanks(std::string_view(line).substr(equals + 1));
  if (value.empty() && !forProgram) return std::nullopt;
  HotkeyEntry entry;
  const std::vector<std::string> fields = SplitRecord(key);
  entry.Key = {static_cast<std::uint8_t>(ReadHexField(RecordField(fields, 1)) & 0xFF),
               static_cast<std::uint8_t>(ReadHexField(RecordField(fields, 2)) & 0xFF)};
  for (std::size_t i = 0; i < kModifierCount; ++i) {
    entry.KeyModifiers[static_cast<Modifier>(i)] = ReadFlagField(RecordField(fields, 3 + i));
  }
  if (!EqualsIgnoringCase(KeyOf(entry), key)) return std::nullopt;
  entry.KeyText = HotkeyName(entry.Key, entry.KeyModifiers);
  if (value.empty()) {
    entry.Disabled = true;
    return entry;
  }
  const ActionRecord action = ParseActionRecord(value);
  entry.PausesTastron = action.kind == ActionRecord::Kind::PauseTastron;
  if (entry.PausesTastron) return entry;
  entry.RunsProgram = action.kind == ActionRecord::Kind::RunProgram;
  if (entry.RunsProgram) {
    entry.ProgramPath = action.program;
    entry.Parameter = action.parameter;
  } else {
    entry.ActionKey = action.key;
    entry.ActionModifiers = action.modifiers;
    entry.ActionKeyText = HotkeyName(entry.ActionKey, entry.ActionModifiers);
  }
  return entry;
}

std::string HotkeyLine(const HotkeyEntry& entry) {
  if (entry.Disabled) return KeyOf(entry) + "=";
  ActionRecord action;
  if (entry.PausesTastron) {
    action.kind = ActionRecord::Kind::PauseTastron;
  } else if (entry.RunsProgram) {
    action.kind = ActionRecord::Kind::RunProgram;
    action.program = entry.ProgramPath;
    action.parameter = entry.Parameter;
  } else {
    action.key = entry.ActionKey;
    action.modifiers = entry.ActionModifiers;
  }
  return KeyOf(entry) + "=" + FormatActionRecord(action);
}
