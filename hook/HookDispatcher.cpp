#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

HookVerdict HookEngine::KeyboardProcedure(int code, std::uint32_t message, std::uint32_t virtualKey,
                                          std::uint32_t scanCode, std::uintptr_t extraInfo) {
  if (code != win::kHcAction || !platform_.IsWindow(state_.HostWindow)) {
    return HookVerdict::CallNext;
  }
  const std::uint32_t packed = (virtualKey & 0xFFFFu) | ((scanCode & 0xFFFFu) << 16);
  const bool fromLibrary = extraInfo == kLibraryInjectionTag;
  const bool swallowed = Dispatch(message, packed, fromLibrary) == 1;
  if (!fromLibrary) {
    NotePhysicalEvent(static_cast<std::uint8_t>(virtualKey), win::IsKeyPress(message),
                      win::IsKeyRelease(message), swallowed);
  }
  return swallowed ? HookVerdict::Swallow : HookVerdict::CallNext;
}

HookVerdict HookEngine::MouseProcedure(int code, std::uint32_t message, std::uint32_t mouseData,
                                       std::uintptr_t extraInfo) {
  // Movement never reaches the dispatcher: it can neither be swallowed nor end the away mode.
  if (code != win::kHcAction || message == win::kWmMouseMove ||
      !platform_.IsWindow(state_.HostWindow)) {
    return HookVerdict::CallNext;
  }
  const bool fromLibrary = extraInfo == kLibraryInjectionTag;
  const bool swallowed = Dispatch(message, mouseData, fromLibrary) == 1;
  if (!fromLibrary) {
    switch (message) {
      case win::kWmLButtonDown:
      case win::kWmLButtonUp:
        NotePhysicalEvent(win::kVkLButton, message == win::kWmLButtonDown,
                          message == win::kWmLButtonUp, swallowed);
        break;
      case win::kWmRButtonDown:
      case win::kWmRButtonUp:
        NotePhysicalEvent(win::kVkRButton, message == win::kWmRButtonDown,
                          message == win::kWmRButtonUp, swallowed);
        break;
      case win::kWmMButtonDown:
      case win::kWmMButtonUp:
        NotePhysicalEvent(win::kVkMButton, message == win::kWmMButtonDown,
                          message == win::kWmMButtonUp, swallowed);
        break;
      default:
        break;
    }
  }
  return swallowed ? HookVerdict::Swallow : HookVerdict::CallNext;
}

void HookEngine::NotePhysicalEvent(std::uint8_t virtualKey, bool press, bool release,
                                   bool swallowed) {
  if (press && !swallowed) local_.pressReachedSystem.set(virtualKey);
  if (release) local_.pressReachedSystem.reset(virtualKey);
}

int HookEngine::SwallowUnlessOwed(std::uint32_t message, std::uint16_t virtualKey) const {
  const bool owed =
      win::IsKeyRelease(message) && local_.pressReachedSystem.test(virtualKey & 0xFFu);
  return owed ? 0 : 1;
}

int HookEngine::Dispatch(std::uint32_t message, std::uint32_t eventValue, bool fromLibrary) {
  if (state_.AwayPending) LeaveAwayMode();
  if (state_.HookEnabled == 0) return 0;
  // While a shortcut is being sent, the library's own input goes through (the system must see
  // the user's modifiers released) and everything else is swallowed.
  if (state_.SuppressAll && !fromLibrary) return 1;
  if (state_.Idle == 0) return 0;

  state_.Idle = 0;
  int result = 0;
  if (message >= win::kWmKeyDown && message <= win::kWmKeyLast) {
    result = FilterKeyboard(message, static_cast<std::uint16_t>(eventValue & 0xFFFFu),
                            static_cast<std::uint16_t>(eventValue >> 16));
  } else if (message >= win::kWmMouseMove && message <= win::kWmMouseWheel) {
    result = FilterMouse(message, eventValue);
  }
  state_.Idle = 1;
  return result;
}
