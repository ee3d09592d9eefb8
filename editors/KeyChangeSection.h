#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editors/KeyChangeEntry.h"

// The "KeyChange" section of the rule file: key "vv/ss" of the key pressed, value "vv/ss" of
// the key produced.
inline constexpr const char* kKeyChangeSection = "KeyChange";
// The "TapHold" section: key "vv/ss" of the key pressed, value "vv/ss/vv/ss/ms" of the key a
// tap gives, the key a hold gives and the time that makes a hold (decimal; 200 when missing).
// For one key the library reads it before the "KeyChange" section of the same page.
inline constexpr const char* kTapHoldSection = "TapHold";

// The remapping of a section line, hexadecimal digits of either case; nullopt for a line the
// list cannot show (no "/" in its key or value, not exactly one "="). In a program's section
// (`forProgram`) an empty value is a key that stays itself there.
std::optional<KeyChangeEntry> ParseKeyChangeLine(const std::string& line, bool forProgram);
// The same for a line of the tap-hold section, which needs both pairs of its value; its time
// is read as the library reads it (a decimal number, the nearest bound of 50-1000 beyond them,
// 200 when missing).
std::optional<KeyChangeEntry> ParseTapHoldLine(const std::string& line, bool forProgram);

// A hold time as the rule file and the editor take it: decimal digits (blanks around them
// aside) of a number within 50-1000; nullopt otherwise.
std::optional<int> ReadHoldMs(std::string_view text);

// The line of a remapping, "%02x/%02x=%02x/%02x" in lower case ("%02x/%02x=%02x/%02x/%02x/%02x/%d"
// for a tap-hold one, the time always written); "%02x/%02x=" for a key that stays itself.
std::string KeyChangeLine(const KeyChangeEntry& entry);
