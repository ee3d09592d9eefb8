#include <algorithm>

#include "common/HostMessages.h"
#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

namespace {

// After reinstallations that brought no hook call, the next one waits twice as long each time,
// up to this.
constexpr std::uint32_t kLongestBackOffMs = 32000;

// Tick counts wrap after 49.7 days; differences stay right.
bool Later(std::uint32_t tick, std::uint32_t than) {
  return static_cast<std::int32_t>(tick - than) > 0;
}

bool IsGenericModifier(int virtualKey) {
  return virtualKey == win::kVkShift || virtualKey == win::kVkControl || virtualKey == win::kVkMenu;
}

}  // namespace

// Windows removes a low-level hook without a word when one call outlasts its time-out (also
// after a sleep or under heavy load), and the utility would then silently do nothing. When the
// hooks missed input, both go in again, the old handles first removed, so that there is never a
// second hook; a failed installation is tried again later. Not while the hooks are paused,
// stopped, the session is locked or without a host window, when nothing is expected of them.
// The away mode needs them most: only their next event ends it (and switches the mouse on).
void HookEngine::CheckHooksAlive() {
  if (!local_.watchdogRunning) return;
  // Asking for the session's notifications fails at logon until the session services run: it
  // is asked again (a watch in place stays as it is).
  platform_.WatchSessionChanges(true);
  if (state_.HookEnabled == 0 || local_.sessionLocked || !platform_.IsWindow(state_.HostWindow)) {
    return;
  }
  const std::uint32_t now = platform_.TickCount();
  if (Later(local_.lastKeyboardCall, local_.lastReinstall) ||
      Later(local_.lastMouseCall, local_.lastReinstall)) {
    local_.reinstallsWithoutCalls = 0;
  }
  if (!HooksMissedInput(now)) return;
  // Input the hooks are never given (the secure desktop, a window of an elevated program) looks
  // the same as removed hooks, and reinstalling cannot help there: after reinstallations that
  // brought no call, the watchdog waits longer and longer before the next.
  const std::uint32_t backOff = std::min<std::uint32_t>(
      kHookWatchdogPeriodMs << std::min<std::uint32_t>(local_.reinstallsWithoutCalls, 6),
      kLongestBackOffMs);
  if (local_.reinstallsWithoutCalls > 0 && now - local_.lastReinstall < backOff) return;
  ReinstallHooks(now);
}

// Input came that neither hook saw: newer than both hooks' last calls, once they have been
// silent long enough that live ones would have been called by now (the user may go on typing
// meanwhile). Or the system holds a key or button down that the hooks never saw go down: mouse
// movement, which the mouse hook sees, must not hide a keyboard hook that is gone.
bool HookEngine::HooksMissedInput(std::uint32_t now) {
  const std::uint32_t lastInput = platform_.LastInputTick();
  const std::uint32_t lastCall = Later(local_.lastKeyboardCall, local_.lastMouseCall)
                                     ? local_.lastKeyboardCall
                                     : local_.lastMouseCall;
  if (Later(lastInput, lastCall) && now - lastCall >= kSilentHooksMs) return true;
  const bool keyboardSilent = now - local_.lastKeyboardCall >= kSilentHooksMs;
  const bool mouseSilent = now - local_.lastMouseCall >= kSilentHooksMs;
  return (keyboardSilent || mouseSilent) && SystemHoldsKeyNeverSeen();
}

// A key or button the system holds that the user pressed (as far as the hooks know, nothing is
// down) and that the library did not put down itself.
bool HookEngine::SystemHoldsKeyNeverSeen() {
  const std::bitset<256> heldForSystem = HeldForSystem();
  for (int key = 1; key < 256; ++key) {
    if (UnknownToLibrary(static_cast<std::uint8_t>(key), heldForSystem)) return true;
  }
  return false;
}

// Whether the system holds this key down while neither the user (as the hooks saw it) nor the
// library holds it, under its own name or, where the system may mix the sides, the other's.
bool HookEngine::UnknownToLibrary(std::uint8_t virtualKey, const std::bitset<256>& heldForSystem) {
  if (IsGenericModifier(virtualKey)) return false;
  if (IsArmedShift(virtualKey) || local_.physicallyDown.test(virtualKey) ||
      heldForSystem.test(virtualKey) || HeldUnderOtherName(virtualKey, heldForSystem)) {
    return false;
  }
  return platform_.IsKeyDown(virtualKey);
}

// The one place the hooks go in again.
void HookEngine::ReinstallHooks(std::uint32_t now) {
  platform_.RemoveHook(state_.KeyboardHook);
  platform_.RemoveHook(state_.MouseHook);
  state_.KeyboardHook = platform_.InstallHook(HookPlatform::HookKind::Keyboard);
  state_.MouseHook = platform_.InstallHook(HookPlatform::HookKind::Mouse);
  local_.lastKeyboardCall = local_.lastMouseCall = local_.lastReinstall = now;
  ++local_.reinstallsWithoutCalls;
  platform_.DebugLine(state_.KeyboardHook != 0
                          ? "trellin_192: the system had removed the hooks; installed again"
                          : "trellin_192: the system had removed the hooks; installing failed");
  // The host hears of it once what lost its key has been let go of: a posted message is read
  // after the input injected before it, whatever the order of the calls.
  LetGoOfWhatLostItsKey();
  platform_.PostMessageTo(state_.HostWindow, host_message::kHooksInstalledAgain,
                          state_.KeyboardHook != 0 && state_.MouseHook != 0 ? 1 : 0, 0);
}

// While the hooks were gone, releases reached the system without the library. The system's key
// state is then the best word on what the user still holds: a key whose press reached the
// system shows there until its release did; a key whose press the library replaced shows there
// only if its auto-repeats reached the system meanwhile. The hooks may also have been silent
// with nothing lost (a consent prompt, an elevated window in front): a key the library replaced
// may then still be held although the system shows it up. So its output is let go of, but its
// record stays: the key's next auto-repeat puts the output down again, and its release ends
// it. Any other key the system shows up is forgotten (its next press is decided afresh), and
// with it the Korean right Ctrl and Alt; a button whose press the system never saw is not. Keys the
// user pressed meanwhile count as pressed, so that their releases reach the system. A key the
// system shows up is no longer down as far as the hooks saw it go by.
void HookEngine::LetGoOfWhatLostItsKey() {
  // An undecided key and the presses it held back reached nothing: their releases may have been
  // lost, so they are forgotten rather than decided.
  DropUndecidedTapHold();
  WithInjectionPassing([&] {
    for (std::size_t index = 0; index < PressRecords::kCount; ++index) {
      PressRecord& pressed = local_.presses[index];
      if (!pressed.Active()) continue;
      const std::uint8_t virtualKey = pressed.pressedAs;
      if (IsGenericModifier(virtualKey) || IsArmedShift(virtualKey)) continue;
      if (SystemHoldsKey(virtualKey)) {
        pressed.reachedSystem = true;
        continue;
      }
      // A button's press the system never saw keeps its record: its release must not come
      // alone, and a button's next press begins a record anew anyway. A right press held back
      // is never given to the system now: its release may have been lost with the hooks, and a
      // drag would then press the button with nothing to let go of it.
      const bool button = index >= PressRecords::ButtonIndex(win::kVkLButton);
      if (button && pressed.fate == PressRecord::Fate::HeldBack) {
        pressed.fate = PressRecord::Fate::Swallowed;
      }
      if (button && pressed.fate != PressRecord::Fate::Passed) continue;
      local_.physicallyDown.reset(virtualKey);
      if (pressed.fate == PressRecord::Fate::Replaced) {
        pressed.reachedSystem = false;
        LetGoOfOutput(pressed);
      } else {
        local_.presses[index] = {};
      }
    }
    if (!platform_.IsKeyDown(win::kVkHanja)) state_.HanjaKeyDown = 0;
    if (!platform_.IsKeyDown(win::kVkHangul)) state_.HangulKeyDown = 0;
    for (int key = 1; key < 256; ++key) {
      if (!platform_.IsKeyDown(static_cast<std::uint8_t>(key))) local_.passedDown.reset(key);
    }
    const std::bitset<256> heldForSystem = HeldForSystem();
    for (int key = 1; key < 256; ++key) {
      const auto virtualKey = static_cast<std::uint8_t>(key);
      if (!UnknownToLibrary(virtualKey, heldForSystem)) continue;
      local_.physicallyDown.set(key);
      const bool button = virtualKey == win::kVkLButton || virtualKey == win::kVkRButton ||
                          virtualKey == win::kVkMButton;
      PressRecord& adopted = local_.presses[button ? PressRecords::ButtonIndex(virtualKey)
                                                   : PressRecords::VirtualKeyIndex(virtualKey)];
      adopted = {};
      adopted.fate = PressRecord::Fate::Passed;
      adopted.pressedAs = virtualKey;
      adopted.reachedSystem = true;
    }
  });
}
