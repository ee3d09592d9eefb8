#pragma once

#include <string>
#include <vector>

#include "editors/HotkeyEntry.h"

// The "Hotkey" section of the rule file: key "vv/ss" and the eight flags of the hotkey, value
// an action record.
inline constexpr const char* kHotkeySection = "Hotkey";

// Every rule of the section, however long, in file order. Each line is split at its first "="
// only, since a parameter may hold "=" ("/name=value"); a line without "=" holds no rule.
std::vector<HotkeyEntry> ReadHotkeySection(const std::string& ruleFile);

// Deletes the section and writes one record per entry, in their order.
void WriteHotkeySection(const std::string& ruleFile, const std::vector<const HotkeyEntry*>& rules);

// Deletes the rule of one hotkey at once.
void DeleteHotkey(const std::string& ruleFile, const HotkeyEntry& entry);
