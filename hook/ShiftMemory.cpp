#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

// Shift memory: a Shift pressed and released alone stays down for the system until the next
// key comes up. Its release is swallowed ("armed"); the next key goes down while the system
// still holds Shift, and its release brings both Shift releases with it.
int HookEngine::ApplyShiftMemory(std::uint32_t message, std::uint16_t virtualKey) {
  const bool isShift = virtualKey == win::kVkLShift || virtualKey == win::kVkRShift;
  if (isShift) {
    if (state_.ShiftArmed) {
      // Shift again while armed clears the memory; this Shift event counts as nothing more.
      ReleaseArmedShift();
      return 0;
    }
    if (message == win::kWmKeyDown) {
      state_.ShiftHeld = 1;
      state_.KeyWhileShift = 0;
      return 0;
    }
    int result = 0;
    if (message == win::kWmKeyUp) {
      if (state_.ShiftHeld && !state_.KeyWhileShift) {
        state_.ShiftArmed = 1;
        result = 1;
      }
      state_.ShiftHeld = 0;
    }
    return result;
  }
  if (state_.ShiftHeld) {
    if (message == win::kWmKeyDown) state_.KeyWhileShift = 1;
  } else if (state_.ShiftArmed && message == win::kWmKeyUp) {
    ReleaseArmedShift();
  }
  return 0;
}

// Both Shifts go up as the library releases them everywhere (see KeySynthesis).
void HookEngine::ReleaseArmedShift() {
  state_.ShiftArmed = 0;
  ReleaseModifier(Modifier::LShift);
  ReleaseModifier(Modifier::RShift);
}

bool HookEngine::IsArmedShift(std::uint8_t virtualKey) const {
  return state_.ShiftArmed && (virtualKey == win::kVkLShift || virtualKey == win::kVkRShift);
}
