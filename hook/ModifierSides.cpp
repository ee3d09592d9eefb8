#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

// Which Shift the system holds. Its key state says so, except where it took one Shift for the
// other: Wine's server takes the side of every Shift it is given from the extended flag, so a
// right Shift sent as Windows' keyboards send it (scan code 36, not extended) is held there as
// the left one, while the hooks were told "right Shift" (and both Shifts as one left Shift). So
// a side the hooks saw go down to the system is down while the system holds either Shift; a
// side they did not see is down where the system holds it, unless the hooks' view explains it
// as the other side under the wrong name. A Shift pressed before the hooks were installed is
// not in their view, and the system's key state decides; a release they missed (removed
// hooks) is forgotten when the watchdog puts them back and finds the key up for the system.
bool HookEngine::ShiftDown(Modifier side) {
  const bool left = side == Modifier::LShift;
  const std::uint8_t own = left ? win::kVkLShift : win::kVkRShift;
  const std::uint8_t other = left ? win::kVkRShift : win::kVkLShift;
  const bool ownHeld = platform_.IsKeyDown(own);
  // The other side is read only while the hooks saw a Shift go down: each read is a call into
  // the system.
  if (local_.passedDown.test(own)) return ownHeld || platform_.IsKeyDown(other);
  if (local_.passedDown.test(other)) return ownHeld && platform_.IsKeyDown(other);
  return ownHeld;
}

namespace {

// The other side of a modifier whose side the system may take from the extended flag alone
// (Wine does, for Shift, Ctrl and Alt), or 0. Both Windows keys are extended: their names
// never mix.
std::uint8_t SideItMayBeHeldUnder(std::uint8_t virtualKey) {
  switch (virtualKey) {
    case win::kVkLShift:
      return win::kVkRShift;
    case win::kVkRShift:
      return win::kVkLShift;
    case win::kVkLControl:
      return win::kVkRControl;
    case win::kVkRControl:
      return win::kVkLControl;
    case win::kVkLMenu:
      return win::kVkRMenu;
    case win::kVkRMenu:
      return win::kVkLMenu;
    default:
      return 0;
  }
}

bool IsShift(std::uint8_t virtualKey) {
  return virtualKey == win::kVkLShift || virtualKey == win::kVkRShift;
}

}  // namespace

// Whether the system may show `virtualKey` down for a press of its other side. What the library
// injects keeps the flags its rule gives it, so any of its modifiers may be held under the other
// name; of what the user holds only a Shift can be (a right Shift passes as keyboards send it,
// not extended).
bool HookEngine::HeldUnderOtherName(std::uint8_t virtualKey,
                                    const std::bitset<256>& heldForSystem) const {
  const std::uint8_t other = SideItMayBeHeldUnder(virtualKey);
  if (other == 0) return false;
  if (heldForSystem.test(other)) return true;
  return IsShift(virtualKey) && (local_.physicallyDown.test(other) || IsArmedShift(other));
}

// Whether the system holds the key a release nobody recorded the press of would let go of. The
// other Shift held by the system stands for this one only where the user is not known to hold
// the other one himself.
bool HookEngine::SystemHoldsForRelease(std::uint8_t virtualKey) {
  if (platform_.IsKeyDown(virtualKey)) return true;
  if (!IsShift(virtualKey)) return false;
  const std::uint8_t other = SideItMayBeHeldUnder(virtualKey);
  return platform_.IsKeyDown(other) && !local_.physicallyDown.test(other);
}

bool HookEngine::SystemHoldsKey(std::uint8_t virtualKey) {
  if (virtualKey == win::kVkLShift) return ShiftDown(Modifier::LShift);
  if (virtualKey == win::kVkRShift) return ShiftDown(Modifier::RShift);
  return platform_.IsKeyDown(virtualKey);
}
