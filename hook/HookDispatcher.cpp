#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

namespace {

bool IsKeyMessage(std::uint32_t message) {
  return message >= win::kWmKeyDown && message <= win::kWmKeyLast;
}

// The virtual key a key or button event is about; 0 for the wheel and anything else.
std::uint8_t EventKey(std::uint32_t message, std::uint32_t eventValue) {
  if (IsKeyMessage(message)) return static_cast<std::uint8_t>(eventValue & 0xFFu);
  return win::ButtonOfMessage(message);
}

bool IsRelease(std::uint32_t message) {
  return win::IsKeyRelease(message) || win::IsButtonRelease(message);
}

}  // namespace

// Each hook's last call is noted as it begins and again as it ends: Wine stamps the input a hook
// was called for (GetLastInputInfo) only once the hook has answered, so a call that crossed a
// tick must not make its own input look missed.
HookVerdict HookEngine::KeyboardProcedure(int code, std::uint32_t message, std::uint32_t virtualKey,
                                          std::uint32_t scanCode, std::uint32_t flags,
                                          std::uintptr_t extraInfo) {
  local_.lastKeyboardCall = platform_.TickCount();
  const bool fromLibrary = extraInfo == kLibraryInjectionTag;
  const auto key = static_cast<std::uint8_t>(virtualKey);
  const std::size_t record =
      fromLibrary ? PressRecords::kNone
                  : local_.presses.KeyIndex(key, scanCode, (flags & win::kLowLevelExtended) != 0);
  if (!HostAlive(fromLibrary)) {
    return code == win::kHcAction && !fromLibrary && AfterHostGone(message, key, record) == 1
               ? HookVerdict::Swallow
               : HookVerdict::CallNext;
  }
  if (code != win::kHcAction) return HookVerdict::CallNext;
  const std::uint32_t packed = (virtualKey & 0xFFFFu) | ((scanCode & 0xFFFFu) << 16);
  const std::uint8_t pressedAs =
      fromLibrary || !local_.presses[record].Active() ? key : local_.presses[record].pressedAs;
  if (!fromLibrary) {
    NoteUserHolds(key, win::IsKeyPress(message), win::IsKeyRelease(message), record);
    TrackKoreanRightKeys(message, key, static_cast<std::uint16_t>(scanCode), record);
  }
  const bool swallowed = Dispatch(message, packed, record, fromLibrary) == 1;
  if (!fromLibrary) {
    NotePhysicalEvent(win::IsKeyPress(message), swallowed, record);
    if (win::IsKeyRelease(message)) NoteReleaseDecided(key, pressedAs);
  }
  if (!swallowed) local_.passedDown.set(key, win::IsKeyPress(message));
  local_.lastKeyboardCall = platform_.TickCount();
  return swallowed ? HookVerdict::Swallow : HookVerdict::CallNext;
}

HookVerdict HookEngine::MouseProcedure(int code, std::uint32_t message, std::uint32_t mouseData,
                                       std::int32_t x, std::int32_t y, std::uintptr_t extraInfo) {
  local_.lastMouseCall = platform_.TickCount();
  const bool fromLibrary = extraInfo == kLibraryInjectionTag;
  // Movement never reaches the dispatcher: it can neither be swallowed nor end the away mode.
  // It only decides whether a held-back right press has become a drag.
  if (message == win::kWmMouseMove) {
    if (code == win::kHcAction && !fromLibrary && platform_.IsWindow(state_.HostWindow)) {
      LetHeldBackPressGoOnDrag(x, y);
    }
    return HookVerdict::CallNext;
  }
  const std::uint8_t button = win::ButtonOfMessage(message);
  const std::size_t record =
      fromLibrary || button == 0 ? PressRecords::kNone : PressRecords::ButtonIndex(button);
  if (!HostAlive(fromLibrary)) {
    return code == win::kHcAction && !fromLibrary && AfterHostGone(message, button, record) == 1
               ? HookVerdict::Swallow
               : HookVerdict::CallNext;
  }
  if (code != win::kHcAction) return HookVerdict::CallNext;
  if (message == win::kWmRButtonDown && !fromLibrary) {
    local_.rightPressX = x;
    local_.rightPressY = y;
  }
  if (record != PressRecords::kNone) {
    NoteUserHolds(button, win::IsButtonPress(message), win::IsButtonRelease(message), record);
  }
  const bool swallowed = Dispatch(message, mouseData, record, fromLibrary) == 1;
  if (record != PressRecords::kNone) {
    NotePhysicalEvent(win::IsButtonPress(message), swallowed, record);
    if (win::IsButtonRelease(message)) NoteReleaseDecided(button, button);
  }
  local_.lastMouseCall = platform_.TickCount();
  return swallowed ? HookVerdict::Swallow : HookVerdict::CallNext;
}

// No event is examined without a live host window. The first physical event after the window
// has gone lets go of whatever the library still holds down for the system: nobody would ever
// release it otherwise (the hooks go on passing every event untouched).
bool HookEngine::HostAlive(bool fromLibrary) {
  if (platform_.IsWindow(state_.HostWindow)) return true;
  if (!fromLibrary) LetGoOfEverything();
  return false;
}

// Noted before the event is decided, so that the filters see what the user holds with this
// event counted: the away mode's snapshot at L's release, the wheel's buttons, and whether the
// release of a button arrived while the library was injecting its press. A press begins a
// record unless it repeats one (a button has no repeats: a press on a record means that the
// release was lost). A release also counts for the virtual key of its press, which may differ.
void HookEngine::NoteUserHolds(std::uint8_t virtualKey, bool press, bool release,
                               std::size_t record) {
  PressRecord& pressed = local_.presses[record];
  if (press) {
    local_.physicallyDown.set(virtualKey);
    const bool button = record >= PressRecords::ButtonIndex(win::kVkLButton);
    if (!pressed.Active() || button) {
      pressed = {};
      pressed.fate = PressRecord::Fate::Deciding;
      pressed.pressedAs = virtualKey;
    }
  }
  if (release) {
    local_.physicallyDown.reset(virtualKey);
    if (pressed.Active()) local_.physicallyDown.reset(pressed.pressedAs);
  }
}

// Once a release is decided, its key no longer belongs to the gesture that began the away mode.
void HookEngine::NoteReleaseDecided(std::uint8_t virtualKey, std::uint8_t pressedAs) {
  local_.heldWhenAwayBegan.reset(virtualKey);
  local_.heldWhenAwayBegan.reset(pressedAs);
}

// A press that no filter gave another fate passed or was swallowed, as its verdict says; a press
// (the first or a repeat) that passed makes its release owed to the system. Also called before
// the releases that arrived meanwhile are caught up, which may already have ended the record.
void HookEngine::NotePhysicalEvent(bool press, bool swallowed, std::size_t record) {
  PressRecord& pressed = local_.presses[record];
  if (!press || !pressed.Active()) return;
  if (pressed.fate == PressRecord::Fate::Deciding) {
    pressed.fate = swallowed ? PressRecord::Fate::Swallowed : PressRecord::Fate::Passed;
  }
  if (!swallowed) pressed.reachedSystem = true;
}

bool HookEngine::ReleasedMeanwhile(std::uint8_t virtualKey) const {
  return !local_.physicallyDown.test(virtualKey);
}

int HookEngine::SwallowUnlessOwed(std::size_t record) const {
  return local_.presses[record].reachedSystem ? 0 : 1;
}

// The user's input is held back while a shortcut is sent, so the system sees exactly the
// shortcut's keys. A release the system is owed still goes through (else the key would stay
// down), and the shortcut learns that it must not press that key again for the user, nor the
// modifier that the key held down in its place.
int HookEngine::DispatchDuringShortcut(std::uint32_t message, std::uint32_t eventValue,
                                       std::size_t record) {
  const std::uint8_t key = EventKey(message, eventValue);
  if (key == 0 || !IsRelease(message)) return 1;
  local_.releasedDuringShortcut.set(key);
  const PressRecord& pressed = local_.presses[record];
  if (pressed.Active()) {
    local_.releasedDuringShortcut.set(pressed.pressedAs);
    if (pressed.fate == PressRecord::Fate::Replaced &&
        pressed.output.kind == HeldOutput::Kind::Key) {
      local_.releasedDuringShortcut.set(pressed.output.virtualKey);
    }
  }
  return ReleaseWhileBusy(message, eventValue, record);
}

// A release that arrives while the library is busy (injecting, or sending a shortcut) cannot be
// decided yet: it reaches the system if its press did, and what its press began ends once the
// library is done. A right press held back goes nowhere then: with its release already
// swallowed, the press would come alone.
int HookEngine::ReleaseWhileBusy(std::uint32_t message, std::uint32_t eventValue,
                                 std::size_t record) {
  DeferRelease(message, eventValue, record);
  PressRecord& pressed = local_.presses[record];
  if (!pressed.Active()) return UnrecordedRelease(EventKey(message, eventValue));
  if (pressed.fate == PressRecord::Fate::HeldBack) pressed.scrolled = true;
  return pressed.fate == PressRecord::Fate::Passed ? 0 : SwallowUnlessOwed(record);
}

void HookEngine::DeferRelease(std::uint32_t message, std::uint32_t eventValue, std::size_t record) {
  if (!IsRelease(message) || local_.deferredCount == local_.deferredReleases.size()) return;
  local_.deferredReleases[local_.deferredCount++] = {message, eventValue, record};
}

// A release that passed (or was held back) while a filter ran still has to end what its press
// began: a remapping's target, the left Ctrl of the Korean right Ctrl, a hotkey's swallow, the
// away mode of Win+L. Its own fate is already decided, so the verdict is not used.
void HookEngine::CatchUpDeferredReleases() {
  for (std::size_t i = 0; i < local_.deferredCount; ++i) {
    const HookLocalState::DeferredRelease release = local_.deferredReleases[i];
    Filter(release.message, release.eventValue, release.record);
  }
  local_.deferredCount = 0;
}

int HookEngine::Filter(std::uint32_t message, std::uint32_t eventValue, std::size_t record) {
  if (local_.tapHold.record != PressRecords::kNone && record != PressRecords::kNone) {
    if (const std::optional<int> verdict = WhileTapHoldUndecided(message, eventValue, record)) {
      return *verdict;
    }
  }
  if (IsKeyMessage(message)) {
    return FilterKeyboard(message, static_cast<std::uint16_t>(eventValue & 0xFFFFu),
                          static_cast<std::uint16_t>(eventValue >> 16), record);
  }
  if (message >= win::kWmMouseMove && message <= win::kWmMouseWheel) {
    return FilterMouse(message, eventValue, record);
  }
  return 0;
}

int HookEngine::Dispatch(std::uint32_t message, std::uint32_t eventValue, std::size_t record,
                         bool fromLibrary) {
  if (state_.AwayPending && EndsAwayMode(message, eventValue)) LeaveAwayMode();
  if (state_.HookEnabled == 0) {
    return fromLibrary ? 0 : ContinueWhilePaused(message, EventKey(message, eventValue), record);
  }
  if (local_.pausedByUser && !fromLibrary && state_.Idle != 0 && !state_.SuppressAll) {
    return WhilePausedByUser(message, eventValue, record, EventKey(message, eventValue));
  }
  // While a shortcut is being sent, the library's own input goes through (the system must see
  // the user's modifiers released) and other input waits for the shortcut to end.
  if (state_.SuppressAll && !fromLibrary) {
    return DispatchDuringShortcut(message, eventValue, record);
  }
  // While a filter runs, other input passes untouched; only a release still follows its press.
  if (state_.Idle == 0) {
    if (fromLibrary || record == PressRecords::kNone || !IsRelease(message)) return 0;
    return ReleaseWhileBusy(message, eventValue, record);
  }
  // The library's own input that arrives after the call that injected it (as Windows may
  // deliver input injected outside a hook call) is not filtered again either.
  if (fromLibrary) return 0;

  state_.Idle = 0;
  local_.rulesCheckedThisEvent = false;
  local_.foregroundCheckedThisEvent = false;
  const int result = Filter(message, eventValue, record);
  if (record != PressRecords::kNone) {
    NotePhysicalEvent(win::IsKeyPress(message) || win::IsButtonPress(message), result == 1, record);
  }
  CatchUpDeferredReleases();
  state_.Idle = 1;
  return result;
}

// The keys still held from the Win+L that began the away mode (the Windows key above all) come
// up within the same gesture; the user has not come back yet.
bool HookEngine::EndsAwayMode(std::uint32_t message, std::uint32_t eventValue) const {
  const std::uint8_t key = EventKey(message, eventValue);
  return key == 0 || !local_.heldWhenAwayBegan.test(key);
}
