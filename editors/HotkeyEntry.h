#pragma once

#include <string>

#include "common/KeyCodePair.h"
#include "common/Modifiers.h"

// One hotkey rule as the hotkey list holds it: the key with the eight modifiers that must be
// held, and what it does: send another key with its own modifiers, or run a program with a
// parameter (held unescaped). The texts are the names the list shows. In a program's own rules
// a hotkey may instead do nothing there ("사용 안 함"), whatever the rules for all programs say.
struct HotkeyEntry {
  std::string KeyText;
  std::string ActionKeyText;  // only for a key action
  KeyCodePair Key;
  ModifierFlags KeyModifiers;
  bool RunsProgram = false;
  KeyCodePair ActionKey;
  ModifierFlags ActionModifiers;
  std::string ProgramPath;
  std::string Parameter;
  bool Disabled = false;       // the action fields are meaningless then
  bool PausesTastron = false;  // pauses and resumes Tastron (action "2/"); no other action
};

// How the list shows a hotkey that does nothing in a program.
inline constexpr const char* kDisabledActionText = "(사용 안 함)";

// FormatKeyName of a pair with eight flags in the modifier order.
std::string HotkeyName(KeyCodePair key, const ModifierFlags& modifiers);

// What the list's second column shows: "path parameter" (a blank even without parameter, as
// the list has always shown it), the action key's name, or the pause's command.
std::string ActionText(const HotkeyEntry& entry);

// The hotkey and its modifiers equal the action key and its modifiers: a rule that would send
// the very key that fires it.
bool SendsItself(const HotkeyEntry& entry);
