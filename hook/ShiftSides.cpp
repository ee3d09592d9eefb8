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
