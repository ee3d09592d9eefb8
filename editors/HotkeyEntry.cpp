#include "editors/HotkeyEntry.h"

#include "editors/BuiltInCommands.h"
#include "editors/KeyNaming.h"

std::string HotkeyName(KeyCodePair key, const ModifierFlags& modifiers) {
  const auto flag = [&](Modifier m) { return static_cast<std::uint8_t>(modifiers[m] ? 1 : 0); };
  return FormatKeyName(key.virtualKey, key.scanCode, flag(Modifier::LCtrl), flag(Modifier::LAlt),
                       flag(Modifier::LShift), flag(Modifier::LWin), flag(Modifier::RCtrl),
                       flag(Modifier::RAlt), flag(Modifier::RShift), flag(Modifier::RWin));
}

std::string ActionText(const HotkeyEntry& entry) {
  if (entry.Disabled) return kDisabledActionText;
  if (entry.PausesTastron) return kPauseTastronText;
  return entry.RunsProgram ? entry.ProgramPath + " " + entry.Parameter : entry.ActionKeyText;
}

bool SendsItself(const HotkeyEntry& entry) {
  return !entry.Disabled && !entry.RunsProgram && !entry.PausesTastron &&
         entry.Key == entry.ActionKey && entry.KeyModifiers == entry.ActionModifiers;
}
