#pragma once

#include <string>
#include <string_view>

#include "common/KeyCodePair.h"
#include "common/Modifiers.h"

// The texts under which rules are stored in the rule file.

// Hotkey key: "%02x/%02x" and the eight flags in modifier order, "4b/25/1/1/0/0/0/0/0/0".
// The codes are taken as the event delivers them (low 16 bits), so a code above 0xFF is written
// with more digits and can never match a stored rule.
std::string FormatHotkeyKey(unsigned virtualKey, unsigned scanCode, const ModifierFlags& held);

// Middle-button "KeyState": the six companion flags, "%d/%d/%d/%d/%d/%d".
std::string FormatKeyState(const ModifierFlags& held);

// An action: send a key with its own modifiers, or run a program with a parameter.
struct ActionRecord {
  // PauseTastron (kind 2) pauses and resumes Tastron, from a hotkey only.
  enum class Kind { SendKey, RunProgram, PauseTastron };
  Kind kind = Kind::SendKey;
  KeyCodePair key;          // SendKey
  ModifierFlags modifiers;  // SendKey
  std::string program;      // RunProgram: path or document, stored unchanged
  std::string parameter;    // RunProgram: stored escaped

  friend bool operator==(const ActionRecord&, const ActionRecord&) = default;
};

// "0/%02x/%02x/%d/%d/%d/%d/%d/%d/%d/%d", "1/%s/%s" or "2/".
std::string FormatActionRecord(const ActionRecord& action);

// Reads a record with at least eleven fields, missing ones empty. Field 1 read as a decimal
// number chooses the kind: 0 sends a key, 2 pauses Tastron, anything else runs a program.
ActionRecord ParseActionRecord(std::string_view record);
