#pragma once

#include <cstdint>
#include <string>

#include "common/KeyCodePair.h"

// One remapping as the key map list holds it: the key the user presses (From) and the key or
// mouse button produced instead (To, virtual key 0 with scan code 0x10-0x12 for a button),
// with their names as the list shows them. In a program's own rules the key may instead stay
// itself there ("원래 키"), whatever the rules for all programs make of it.
struct KeyChangeEntry {
  std::string FromName;
  std::string ToName;
  std::uint8_t FromVk = 0;
  std::uint8_t FromScan = 0;
  std::uint8_t ToVk = 0;
  std::uint8_t ToScan = 0;
  bool KeepsOriginal = false;  // To is meaningless then

  KeyCodePair From() const { return {FromVk, FromScan}; }
  KeyCodePair To() const { return {ToVk, ToScan}; }
};

// An entry for the two pairs, its names computed from them.
KeyChangeEntry MakeKeyChangeEntry(KeyCodePair from, KeyCodePair to);
// An entry that keeps `from` as it is.
KeyChangeEntry MakeOriginalKeyEntry(KeyCodePair from);

// How the list and the editor show a key that stays itself.
inline constexpr const char* kOriginalKeyName = "(원래 키)";
