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
