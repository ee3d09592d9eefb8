#pragma once

#include <optional>
#include <string>

#include "editors/KeyChangeEntry.h"

// The "KeyChange" section of the rule file: key "vv/ss" of the key pressed, value "vv/ss" of
// the key produced.
inline constexpr const char* kKeyChangeSection = "KeyChange";

// The remapping of a section line, hexadecimal digits of either case; nullopt for a line the
// list cannot show (no "/" in its key or value, not exactly one "="). In a program's section
// (`forProgram`) an empty value is a key that stays itself there.
std::optional<KeyChangeEntry> ParseKeyChangeLine(const std::string& line, bool forProgram);

// The line of a remapping, "%02x/%02x=%02x/%02x" in lower case; "%02x/%02x=" for a key that
// stays itself.
std::string KeyChangeLine(const KeyChangeEntry& entry);
