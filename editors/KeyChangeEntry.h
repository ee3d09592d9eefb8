#pragma once

#include <cstdint>
#include <string>

#include "common/KeyCodePair.h"

// One remapping as the key map list holds it: the key the user presses (From) and the key or
// mouse button produced instead (To, virtual key 0 with scan code 0x10-0x12 for a button),
// with their names as the list shows them.
struct KeyChangeEntry {
  std::string FromName;
  std::string ToName;
  std::uint8_t FromVk = 0;
  std::uint8_t FromScan = 0;
  std::uint8_t ToVk = 0;
  std::uint8_t ToScan = 0;

  KeyCodePair From() const { return {FromVk, FromScan}; }
  KeyCodePair To() const { return {ToVk, ToScan}; }
};

// An entry for the two pairs, its names computed from them.
KeyChangeEntry MakeKeyChangeEntry(KeyCodePair from, KeyCodePair to);
