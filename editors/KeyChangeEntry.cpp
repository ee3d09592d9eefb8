#include "editors/KeyChangeEntry.h"

#include "editors/KeyNaming.h"

KeyChangeEntry MakeKeyChangeEntry(KeyCodePair from, KeyCodePair to) {
  KeyChangeEntry entry;
  entry.FromVk = from.virtualKey;
  entry.FromScan = from.scanCode;
  entry.ToVk = to.virtualKey;
  entry.ToScan = to.scanCode;
  entry.FromName = FormatKeyName(from.virtualKey, from.scanCode);
  entry.ToName = FormatKeyName(to.virtualKey, to.scanCode);
  return entry;
}

KeyChangeEntry MakeOriginalKeyEntry(KeyCodePair from) {
  KeyChangeEntry entry = MakeKeyChangeEntry(from, {});
  entry.KeepsOriginal = true;
  entry.ToName = kOriginalKeyName;
  return entry;
}

KeyChangeEntry MakeTapHoldEntry(KeyCodePair from, KeyCodePair to, KeyCodePair hold, int holdMs) {
  KeyChangeEntry entry = MakeKeyChangeEntry(from, to);
  entry.TapHold = true;
  entry.HoldVk = hold.virtualKey;
  entry.HoldScan = hold.scanCode;
  entry.HoldName = FormatKeyName(hold.virtualKey, hold.scanCode);
  entry.HoldMs = holdMs;
  return entry;
}

std::string NewKeyText(const KeyChangeEntry& entry) {
  return entry.Holds() ? entry.ToName + " · 길게: " + entry.HoldName : entry.ToName;
}
