#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

// Noted before anything is injected: the key's release may arrive while the press is being
// injected, and the catch-up that follows must find what to let go of.
void HookEngine::PutDown(std::uint8_t physicalKey, const HeldOutput& output) {
  local_.heldFor[physicalKey] = output;
  InjectHeldOutput(output, true);
}

// An auto-repeat repeats what the first press put down; a release lets go of it.
void HookEngine::ContinueHeldOutput(std::uint32_t message, std::uint8_t physicalKey) {
  if (win::IsKeyPress(message)) {
    InjectHeldOutput(local_.heldFor[physicalKey], true);
  } else if (win::IsKeyRelease(message)) {
    LetGo(physicalKey);
  }
}

// The note goes first: a nested event for the same key must not let go of it a second time.
void HookEngine::LetGo(std::uint8_t physicalKey) {
  const HeldOutput output = local_.heldFor[physicalKey];
  local_.heldFor[physicalKey] = {};
  InjectHeldOutput(output, false);
}

void HookEngine::InjectHeldOutput(const HeldOutput& output, bool press) {
  switch (output.kind) {
    case HeldOutput::Kind::None:
      return;
    case HeldOutput::Kind::Key:
      platform_.InjectKey(output.virtualKey, output.scanCode,
                          press ? output.pressFlags : output.releaseFlags);
      return;
    case HeldOutput::Kind::Button:
      platform_.InjectMouse(press ? output.pressFlags : output.releaseFlags);
      return;
    case HeldOutput::Kind::NeutralNumLock:
      // The real key never reaches the system. A press becomes two complete presses, so the Num
      // Lock state ends where it was, and leaves the key down; the release lets go of it.
      if (press) {
        for (std::uint32_t flags : {3u, 1u, 3u, 1u})
          platform_.InjectKey(win::kVkNumLock, 0x45, flags);
      } else {
        platform_.InjectKey(win::kVkNumLock, 0x45, 3);
      }
      return;
  }
}

bool HookEngine::HoldsForSystem(std::uint8_t virtualKey) const {
  for (const HeldOutput& output : local_.heldFor) {
    switch (output.kind) {
      case HeldOutput::Kind::None:
        break;
      case HeldOutput::Kind::Key:
        if (output.virtualKey == virtualKey) return true;
        break;
      case HeldOutput::Kind::Button: {
        const std::uint8_t button = output.pressFlags == win::kMouseLeftDown     ? win::kVkLButton
                                    : output.pressFlags == win::kMouseMiddleDown ? win::kVkMButton
                                                                                 : win::kVkRButton;
        if (button == virtualKey) return true;
        break;
      }
      case HeldOutput::Kind::NeutralNumLock:
        if (virtualKey == win::kVkNumLock) return true;
        break;
    }
  }
  return false;
}

// A key whose press the library replaced is the library's until it comes up, paused or not: its
// repeats and its release are swallowed (the system never saw the press) and act on what the
// press put down. Every other event passes untouched while paused.
int HookEngine::ContinueHeldOutputWhilePaused(std::uint32_t message, std::uint32_t eventValue) {
  if (message < win::kWmKeyDown || message > win::kWmKeyLast) return 0;
  const auto key = static_cast<std::uint8_t>(eventValue & 0xFFu);
  if (!HasHeldOutput(key)) return 0;
  WithInjectionPassing([&] { ContinueHeldOutput(message, key); });
  return SwallowUnlessOwed(message, key);
}

void HookEngine::LetGoOfArmedShift() {
  if (!state_.ShiftArmed) return;
  WithInjectionPassing([&] { ReleaseArmedShift(); });
}

// The library is about to lose its say (stopped, or its host window gone): nothing it put down
// may stay down once it has.
void HookEngine::LetGoOfEverything() {
  WithInjectionPassing([&] {
    if (state_.ShiftArmed) ReleaseArmedShift();
    for (std::size_t key = 0; key < local_.heldFor.size(); ++key) {
      if (HasHeldOutput(static_cast<std::uint8_t>(key))) LetGo(static_cast<std::uint8_t>(key));
    }
  });
}
