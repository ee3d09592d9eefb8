#include "common/RuleFormat.h"

#include "common/RuleRecord.h"

namespace {

void AppendFlag(std::string& text, bool flag) {
  text += '/';
  text += flag ? '1' : '0';
}

}  // namespace

std::string FormatHotkeyKey(unsigned virtualKey, unsigned scanCode, const ModifierFlags& held) {
  std::string key = FormatKeyCodes(virtualKey, scanCode);
  for (std::size_t i = 0; i < kModifierCount; ++i) AppendFlag(key, held[static_cast<Modifier>(i)]);
  return key;
}

std::string FormatKeyState(const ModifierFlags& held) {
  std::string state;
  for (Modifier m : kCompanionOrder) AppendFlag(state, held[m]);
  return state.substr(1);
}

std::string FormatActionRecord(const ActionRecord& action) {
  if (action.kind == ActionRecord::Kind::PauseTastron) return "2/";
  if (action.kind == ActionRecord::Kind::RunProgram) {
    return "1/" + action.program + "/" + EscapeParameter(action.parameter);
  }
  std::string record = "0/" + FormatKeyCodePair(action.key);
  for (std::size_t i = 0; i < kModifierCount; ++i) {
    AppendFlag(record, action.modifiers[static_cast<Modifier>(i)]);
  }
  return record;
}

ActionRecord ParseActionRecord(std::string_view record) {
  const std::vector<std::string> fields = SplitRecord(record);
  ActionRecord action;
  const std::int32_t kind = ReadDecimalField(RecordField(fields, 1));
  if (kind == 2) {
    action.kind = ActionRecord::Kind::PauseTastron;
    return action;
  }
  if (kind != 0) {
    action.kind = ActionRecord::Kind::RunProgram;
    action.program = RecordField(fields, 2);
    action.parameter = UnescapeParameter(RecordField(fields, 3));
    return action;
  }
  action.key.virtualKey = static_cast<std::uint8_t>(ReadHexField(RecordField(fields, 2)));
  action.key.scanCode = static_cast<std::uint8_t>(ReadHexField(RecordField(fields, 3)));
  for (std::size_t i = 0; i < kModifierCount; ++i) {
    action.modifiers[static_cast<Modifier>(i)] = ReadFlagField(RecordField(fields, 4 + i));
  }
  return action;
}
