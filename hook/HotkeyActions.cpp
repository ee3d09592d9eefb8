#include <vector>

#include "common/RuleFormat.h"
#include "common/TextCase.h"
#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

namespace {

constexpr int kShowNormal = 5;  // SW_SHOW

// Modifiers are pressed in the modifier order and released Ctrl, Alt, Shift, Win, left first.
constexpr Modifier kPressOrder[] = {Modifier::LCtrl,  Modifier::LAlt,  Modifier::LShift,
                                    Modifier::LWin,   Modifier::RCtrl, Modifier::RAlt,
                                    Modifier::RShift, Modifier::RWin};
constexpr Modifier kReleaseOrder[] = {Modifier::LCtrl, Modifier::RCtrl,  Modifier::LAlt,
                                      Modifier::RAlt,  Modifier::LShift, Modifier::RShift,
                                      Modifier::LWin,  Modifier::RWin};

bool AnyAltOrWin(const ModifierFlags& flags) {
  return flags[Modifier::LAlt] || flags[Modifier::RAlt] || flags[Modifier::LWin] ||
         flags[Modifier::RWin];
}

}  // namespace

// Only a press gets here: it runs the action, and its repeats run it again (see RepeatRecorded).
// The pause hotkey's repeats do nothing: held down, it would pause and resume by turns.
bool HookEngine::ApplyHotkey(std::uint16_t virtualKey, std::uint16_t scanCode, LazyModifiers& held,
                             std::size_t record) {
  const std::string action = FindHotkeyAction(virtualKey, scanCode, held);
  if (action.empty()) return false;
  PressRecord& pressed = local_.presses[record];
  pressed.fate = PressRecord::Fate::Action;
  if (ParseActionRecord(action).kind == ActionRecord::Kind::PauseTastron) {
    PauseByUser(true);
    return true;
  }
  pressed.action = action;
  RunAction(action);
  return true;
}

std::string HookEngine::FindHotkeyAction(std::uint16_t virtualKey, std::uint16_t scanCode,
                                         LazyModifiers& held) {
  if (state_.ConfigIniPath[0] == '\0') return {};
  const std::string keyCodes = FormatKeyCodes(virtualKey, scanCode);
  const ParsedRules::ProgramSections* front = ProgramInFrontFor(keyCodes);
  // The program's hotkeys and those for all programs: a program's entry may also hide one.
  const std::vector<ModifierFlags>* candidateSets[] = {
      CurrentRules().HotkeyModifiers("", keyCodes),
      front != nullptr ? CurrentRules().HotkeyModifiers(front->hotkeyProgram, keyCodes) : nullptr};
  if (candidateSets[0] == nullptr && candidateSets[1] == nullptr) return {};
  // A Windows key that is itself the hotkey's key is not its own modifier.
  const bool isLeftWin = virtualKey == win::kVkLWin && scanCode == win::kVkLWin;
  const bool isRightWin = virtualKey == win::kVkRWin && scanCode == win::kVkRWin;
  // The modifiers are read one by one, only while some rule of this key still matches.
  ModifierFlags modifiers;
  std::vector<const ModifierFlags*> matching;
  for (const std::vector<ModifierFlags>* candidates : candidateSets) {
    if (candidates == nullptr) continue;
    for (const ModifierFlags& candidate : *candidates) matching.push_back(&candidate);
  }
  for (std::size_t i = 0; i < kModifierCount && !matching.empty(); ++i) {
    const auto modifier = static_cast<Modifier>(i);
    const bool masked =
        (modifier == Modifier::LWin && isLeftWin) || (modifier == Modifier::RWin && isRightWin);
    modifiers[modifier] = !masked && held.Held(modifier);
    std::erase_if(matching, [&](const ModifierFlags* rule) {
      return (*rule)[modifier] != modifiers[modifier];
    });
  }
  if (matching.empty()) return {};
  return ReadRuleInFront(front != nullptr ? &front->hotkey : nullptr, "HotKey",
                         FormatHotkeyKey(virtualKey, scanCode, modifiers));
}

// Only a press gets here; its release follows the press's record.
int HookEngine::ApplyMiddleButton() {
  // A program's section with a "Mapped" entry decides for that program, an empty one included.
  const ParsedRules::ProgramSections* front = ProgramInFront();
  const std::string_view section =
      front != nullptr && CurrentRules().FindEntry(front->mouse, "Mapped")
          ? std::string_view(front->mouse)
          : std::string_view("MouseMap2");
  const std::string wanted = ReadRule(section, "KeyState");
  if (wanted.empty()) return 0;
  // The Windows keys are not part of the rule: the text holds only the companions.
  const ModifierFlags current = ReadModifierSnapshot();
  if (!EqualsIgnoringCase(wanted, FormatKeyState(current))) return 0;
  const std::string action = ReadRule(section, "Mapped");
  if (action.empty()) return 0;
  RunAction(action);
  return 1;
}

// The pause is a hotkey's alone (the middle button could pause but never resume): elsewhere it
// does nothing, as any record without a program.
void HookEngine::RunAction(std::string_view record) {
  const ActionRecord action = ParseActionRecord(record);
  if (action.kind == ActionRecord::Kind::SendKey) {
    SendShortcut(action);
    return;
  }
  if (action.kind != ActionRecord::Kind::RunProgram || action.program.empty()) return;
  platform_.StartProgram(action.program, action.parameter, kShowNormal);
}

// The shortcut must reach the system with exactly its own modifiers. The modifiers that the
// system holds for the user are released first and pressed again afterwards, so that the system
// goes on seeing what the user holds: the hotkey fires again on its next press, and the user's
// own releases end with nothing down. A mask key keeps every release of Alt or Win from being
// taken as a lone tap. Input from anywhere else is swallowed meanwhile.
void HookEngine::SendShortcut(const ActionRecord& action) {
  ModifierFlags held;
  held[Modifier::LCtrl] = platform_.IsKeyDown(win::kVkLControl);
  held[Modifier::LAlt] = platform_.IsKeyDown(win::kVkLMenu);
  held[Modifier::LShift] = ShiftDown(Modifier::LShift);
  held[Modifier::LWin] = platform_.IsKeyDown(win::kVkLWin);
  held[Modifier::RCtrl] = platform_.IsKeyDown(win::kVkRControl);
  held[Modifier::RAlt] = platform_.IsKeyDown(win::kVkRMenu);
  held[Modifier::RShift] = ShiftDown(Modifier::RShift);
  held[Modifier::RWin] = platform_.IsKeyDown(win::kVkRWin);

  state_.SuppressAll = 1;
  local_.releasedDuringShortcut.reset();
  if (AnyAltOrWin(held)) InjectMaskKey();
  for (Modifier m : kReleaseOrder) {
    if (held[m]) ReleaseModifier(m);
  }

  for (Modifier m : kPressOrder) {
    if (action.modifiers[m]) PressModifier(m);
  }
  platform_.InjectKey(action.key.virtualKey, action.key.scanCode, win::kKeyEventExtended);
  platform_.InjectKey(action.key.virtualKey, action.key.scanCode,
                      win::kKeyEventExtended | win::kKeyEventKeyUp);
  for (Modifier m : kPressOrder) {
    if (action.modifiers[m]) ReleaseModifier(m);
  }

  // A modifier the user let go of meanwhile stays up: pressing it again would leave it down.
  ModifierFlags stillHeld = held;
  for (Modifier m : kPressOrder) {
    if (ReleasedDuringShortcut(m)) stillHeld[m] = false;
  }
  for (Modifier m : kPressOrder) {
    if (stillHeld[m]) PressModifier(m);
  }
  if (AnyAltOrWin(stillHeld)) InjectMaskKey();
  state_.SuppressAll = 0;
}

// Also when the key released held the modifier down for the system in its place (the right Ctrl
// of a Korean keyboard, a key remapped to a modifier): the dispatcher notes both.
bool HookEngine::ReleasedDuringShortcut(Modifier modifier) const {
  return local_.releasedDuringShortcut.test(ModifierVirtualKey(modifier));
}
