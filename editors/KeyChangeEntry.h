#pragma once

#include <cstdint>
#include <string>

#include "common/KeyCodePair.h"

// One remapping as the key map list holds it: the key the user presses (From) and the key or
// mouse button produced instead (To, virtual key 0 with scan code 0x10-0x12 for a button),
// with their names as the list shows them. In a program's own rules the key may instead stay
// itself there ("원래 키"), whatever the rules for all programs make of it.
// A tap-hold remapping gives To when the key is tapped and Hold when it is held for HoldMs or
// while another key is pressed and let go; it lives in the tap-hold section.
struct KeyChangeEntry {
  std::string FromName;
  std::string ToName;
  std::string HoldName;
  std::uint8_t FromVk = 0;
  std::uint8_t FromScan = 0;
  std::uint8_t ToVk = 0;
  std::uint8_t ToScan = 0;
  std::uint8_t HoldVk = 0;
  std::uint8_t HoldScan = 0;
  int HoldMs = 0;
  bool KeepsOriginal = false;  // To and Hold are meaningless then
  bool TapHold = false;        // read from or written to the tap-hold section

  KeyCodePair From() const { return {FromVk, FromScan}; }
  KeyCodePair To() const { return {ToVk, ToScan}; }
  KeyCodePair Hold() const { return {HoldVk, HoldScan}; }
  // What a tap-hold remapping does when held: it has a key for that.
  bool Holds() const { return TapHold && !KeepsOriginal; }
};

// An entry for the two pairs, its names computed from them.
KeyChangeEntry MakeKeyChangeEntry(KeyCodePair from, KeyCodePair to);
// An entry that keeps `from` as it is.
KeyChangeEntry MakeOriginalKeyEntry(KeyCodePair from);
// A tap-hold entry: `to` when tapped, `hold` when held.
KeyChangeEntry MakeTapHoldEntry(KeyCodePair from, KeyCodePair to, KeyCodePair hold, int holdMs);

// What the list's second column shows: To, and for a tap-hold remapping what a hold gives.
std::string NewKeyText(const KeyChangeEntry& entry);

// How the list and the editor show a key that stays itself.
inline constexpr const char* kOriginalKeyName = "(원래 키)";
// The time a key must be held to give its hold key, in milliseconds: its range and what a
// rule without a time means.
inline constexpr int kMinHoldMs = 50;
inline constexpr int kMaxHoldMs = 1000;
inline constexpr int kDefaultHoldMs = 200;
