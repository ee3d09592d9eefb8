#include "editors/HotkeySection.h"

#include "common/RuleFormat.h"
#include "common/RuleRecord.h"
#include "ui/CUtilityLib.h"

namespace {

std::string KeyOf(const HotkeyEntry& entry) {
  return FormatHotkeyKey(entry.Key.virtualKey, entry.Key.scanCode, entry.KeyModifiers);
}

HotkeyEntry ParseLine(const std::string& key, const std::string& value) {
  HotkeyEntry entry;
  const std::vector<std::string> fields = SplitRecord(key);
  entry.Key = {static_cast<std::uint8_t>(ReadHexField(RecordField(fields, 1)) & 0xFF),
               static_cast<std::uint8_t>(ReadHexField(RecordField(fields, 2)) & 0xFF)};
  for (std::size_t i = 0; i < kModifierCount; ++i) {
    entry.KeyModifiers[static_cast<Modifier>(i)] = ReadFlagField(RecordField(fields, 3 + i));
  }
  entry.KeyText = HotkeyName(entry.Key, entry.KeyModifiers);
  const ActionRecord action = ParseActionRecord(value);
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

}  // namespace

std::vector<HotkeyEntry> ReadHotkeySection(const std::string& ruleFile) {
  std::vector<HotkeyEntry> entries;
  for (const std::string& line : CUtilityLib::GetWholeProfileSection(kHotkeySection, ruleFile)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    entries.push_back(ParseLine(line.substr(0, equals), line.substr(equals + 1)));
  }
  return entries;
}

void WriteHotkeySection(const std::string& ruleFile, const std::vector<const HotkeyEntry*>& rules) {
  Profile& profile = CUtilityLib::Get().Profiles();
  profile.DeleteSection(ruleFile, kHotkeySection);
  for (const HotkeyEntry* entry : rules) {
    ActionRecord action;
    if (entry->RunsProgram) {
      action.kind = ActionRecord::Kind::RunProgram;
      action.program = entry->ProgramPath;
      action.parameter = entry->Parameter;
    } else {
      action.key = entry->ActionKey;
      action.modifiers = entry->ActionModifiers;
    }
    profile.WriteString(ruleFile, kHotkeySection, KeyOf(*entry), FormatActionRecord(action));
  }
}

void DeleteHotkey(const std::string& ruleFile, const HotkeyEntry& entry) {
  CUtilityLib::Get().Profiles().DeleteKey(ruleFile, kHotkeySection, KeyOf(entry));
}
