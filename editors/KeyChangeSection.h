#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "editors/KeyChangeEntry.h"

// The "KeyChange" section of the rule file: key "vv/ss" of the key pressed, value "vv/ss" of
// the key produced.
inline constexpr const char* kKeyChangeSection = "KeyChange";

// A line the list cannot show (no "/" in its key or value, not exactly one "="). It is kept
// and written back as it was, in its place among the others, so that no rule of the user's is
// lost by opening the list and pressing OK.
struct KeptKeyChangeLine {
  std::size_t line = 0;  // its place in the section
  std::string key;
  std::string value;
};

struct KeyChangeSection {
  std::vector<KeyChangeEntry> entries;  // in file order
  std::vector<std::size_t> entryLines;  // the place of each entry in the section
  std::vector<KeptKeyChangeLine> kept;
};

// The whole section, however long. Hexadecimal digits of either case are read.
KeyChangeSection ReadKeyChangeSection(const std::string& ruleFile);

// One row of the list as it is written: loaded rows keep their place in the section, added
// rows (no place) come after everything that was there.
struct KeyChangeRow {
  const KeyChangeEntry* entry = nullptr;
  std::optional<std::size_t> line;
};

// Deletes the section and writes the rows in their order ("%02x/%02x", lower case), each kept
// line before the first row that came after it in the file.
void WriteKeyChangeSection(const std::string& ruleFile, const std::vector<KeyChangeRow>& rows,
                           const std::vector<KeptKeyChangeLine>& kept);

// Deletes the entry of one From pair at once.
void DeleteKeyChange(const std::string& ruleFile, KeyCodePair from);
