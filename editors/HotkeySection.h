#pragma once

#include <optional>
#include <string>

#include "editors/HotkeyEntry.h"

// The "Hotkey" section of the rule file: key "vv/ss" and the eight flags of the hotkey, value
// an action record.
inline constexpr const char* kHotkeySection = "Hotkey";

// The rule of a section line, split at its first "=" only (a parameter may hold "=", as in
// "/name=value"). Only a line that is a rule for the library is one for the list: its key
// written as the library looks it up ("%02x/%02x" and eight flags, letters of either case) and
// a value at all, or in a program's section (`forProgram`) an empty value, a hotkey that does
// nothing there. Any other line is nullopt: the list keeps it as it stands.
std::optional<HotkeyEntry> ParseHotkeyLine(const std::string& line, bool forProgram);

// The line of a rule: its key, "=", its action record (the parameter escaped); nothing after
// "=" for a hotkey that does nothing.
std::string HotkeyLine(const HotkeyEntry& entry);
