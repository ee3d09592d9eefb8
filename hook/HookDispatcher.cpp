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
                                          std::uint32_t scanCode, std::uintptr_t extraInfo) {
  local_.lastKeyboardCall = platform_.TickCount();
  const bool fromLibrary = extraInfo == kLibraryInjectionTag;
  if (!HostAlive(fromLibrary) || code != win::kHcAction) return HookVerdict::CallNext;
  const std::uint32_t packed = (virtualKey & 0xFFFFu) | ((scanCode & 0xFFFFu) << 16);
  const auto key = static_cast<std::uint8_t>(virtualKey);
  if (!fromLibrary) NoteUserHolds(key, win::IsKeyPress(message), win::IsKeyRelease(message));
  const bool swallowed = Dispatch(message, packed, fromLibrary) == 1;
  if (!fromLibrary) {
    NotePhysicalEvent(key, win::IsKeyPress(message), win::IsKeyRelease(message), swallowed);
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
    if (code == win::kHcAction && !fromLibrary &&
        local_.rightPress == HookLocalState::RightPress::HeldBack &&
        platform_.IsWindow(state_.HostWindow)) {
      LetHeldBackPressGoOnDrag(x, y);
    }
    return HookVerdict::CallNext;
  }
  if (!HostAlive(fromLibrary) || code != win::kHcAction) return HookVerdict::CallNext;
  if (message == win::kWmRButtonDown && !fromLibrary) {
    local_.rightPressX = x;
    local_.rightPressY = y;
  }
  const std::uint8_t button = win::ButtonOfMessage(message);
  if (!fromLibrary && button != 0) {
    NoteUserHolds(button, win::IsButtonPress(message), win::IsButtonRelease(message));
  }
  const bool swallowed = Dispatch(message, mouseData, fromLibrary) == 1;
  if (!fromLibrary && button != 0) {
    NotePhysicalEvent(button, win::IsButtonPress(message), win::IsButtonRelease(message),
                      swallowed);
    // Whatever became of it, a right release ends the held-back press.
    if (message == win::kWmRButtonUp) local_.rightPress = HookLocalState::RightPress::None;
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
// release of a button arrived while the library was injecting its press.
void HookEngine::NoteUserHolds(std::uint8_t virtualKey, bool press, bool release) {
  if (press) local_.physicallyDown.set(virtualKey);
  if (release) local_.physicallyDown.reset(virtualKey);
}

void HookEngine::NotePhysicalEvent(std::uint8_t virtualKey, bool press, bool release,
                                   bool swallowed) {
  if (press && !swallowed) local_.pressReachedSystem.set(virtualKey);
  if (release) {
    local_.pressReachedSystem.reset(virtualKey);
    local_.heldWhenAwayBegan.reset(virtualKey);
  }
}

bool HookEngine::ReleasedMeanwhile(std::uint8_t virtualKey) const {
  return !local_.physicallyDown.test(virtualKey);
}

int HookEngine::SwallowUnlessOwed(std::uint32_t message, std::uint16_t virtualKey) const {
  const bool release = win::IsKeyRelease(message) || win::IsButtonRelease(message);
  const bool owed = release && local_.pressReachedSystem.test(virtualKey & 0xFFu);
  return owed ? 0 : 1;
}

// The user's input is held back while a shortcut is sent, so the system sees exactly the
// shortcut's keys. A release the system is owed still goes through (else the key would stay
// down), and the shortcut learns that it must not press that key again for the user.
int HookEngine::DispatchDuringShortcut(std::uint32_t message, std::uint32_t eventValue) {
  const std::uint8_t key = EventKey(message, eventValue);
  if (IsKeyMessage(message)) {
    TrackKoreanRightKeys(message, static_cast<std::uint16_t>(eventValue & 0xFFFFu),
                         static_cast<std::uint16_t>(eventValue >> 16));
  }
  if (key == 0 || !IsRelease(message)) return 1;
  local_.releasedDuringShortcut.set(key);
  DeferRelease(message, eventValue);
  return SwallowUnlessOwed(message, key);
}

void HookEngine::DeferRelease(std::uint32_t message, std::uint32_t eventValue) {
  if (!IsRelease(message) || local_.deferredCount == local_.deferredReleases.size()) return;
  local_.deferredReleases[local_.deferredCount++] = {message, eventValue};
}

// A release that passed (or was held back) while a filter ran still has to undo what the
// library holds down for its key: a remapping's target, the left Ctrl of the Korean right Ctrl,
// a hotkey's pending release. Its own fate is already decided, so the verdict is not used.
void HookEngine::CatchUpDeferredReleases() {
  for (std::size_t i = 0; i < local_.deferredCount; ++i) {
    const HookLocalState::DeferredRelease release = local_.deferredReleases[i];
    Filter(release.message, release.eventValue);
  }
  local_.deferredCount = 0;
}

int HookEngine::Filter(std::uint32_t message, std::uint32_t eventValue) {
  if (IsKeyMessage(message)) {
    return FilterKeyboard(message, static_cast<std::uint16_t>(eventValue & 0xFFFFu),
                          static_cast<std::uint16_t>(eventValue >> 16));
  }
  if (message >= win::kWmMouseMove && message <= win::kWmMouseWheel) {
    return FilterMouse(message, eventValue);
  }
  return 0;
}

int HookEngine::Dispatch(std::uint32_t message, std::uint32_t eventValue, bool fromLibrary) {
  if (state_.AwayPending && EndsAwayMode(message, eventValue)) LeaveAwayMode();
  if (state_.HookEnabled == 0)
    return fromLibrary ? 0 : ContinueHeldOutputWhilePaused(message, eventValue);
  // While a shortcut is being sent, the library's own input goes through (the system must see
  // the user's modifiers released) and other input waits for the shortcut to end.
  if (state_.SuppressAll && !fromLibrary) return DispatchDuringShortcut(message, eventValue);
  if (state_.Idle == 0) {
    if (!fromLibrary) DeferRelease(message, eventValue);
    return 0;
  }
  // The library's own input that arrives after the call that injected it (as Windows may
  // deliver input injected outside a hook call) is not filtered again either.
  if (fromLibrary) return 0;

  state_.Idle = 0;
  local_.rulesCheckedThisEvent = false;
  local_.foregroundCheckedThisEvent = false;
  const int result = Filter(message, eventValue);
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
