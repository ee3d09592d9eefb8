#pragma once

#include <bitset>
#include <cstdint>

// State the engine keeps per process, beside the shared HookState (whose layout is fixed).
struct HookLocalState {
  // Keys and buttons whose physical press reached the system and whose release has not come
  // yet, by virtual key. Such a release is owed to the system: swallowing it would leave the
  // key down there (a rule switched on mid-press, a hotkey that matches only at the release, an
  // auto-repeat that passed after the modifiers were let go).
  std::bitset<256> pressReachedSystem;
};
