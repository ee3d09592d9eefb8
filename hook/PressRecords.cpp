// How the repeats and the release of a key or button follow what its press became.
#include <utility>

#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

using Fate = PressRecord::Fate;

// Noted before anything is injected: the key's release may arrive while the press is being
// injected, and the catch-up that follows must find what to let go of.
void HookEngine::PutDown(std::size_t record, const HeldOutput& output) {
  PressRecord& pressed = local_.presses[record];
  pressed.fate = Fate::Replaced;
  pressed.output = output;
  pressed.outputDown = true;
  InjectHeldOutput(output, true);
}

// The record goes first: a nested event for the same key must not let go of it a second time.
void HookEngine::EndRecord(std::size_t record) {
  PressRecord ended = std::exchange(local_.presses[record], PressRecord{});
  LetGoOfOutput(ended);
}

// An output that another key still holds down in its place (two keys remapped to left Ctrl, the
// Korean right Ctrl and Caps Lock as left Ctrl) stays down for that key.
void HookEngine::LetGoOfOutput(PressRecord& pressed) {
  if (pressed.fate != Fate::Replaced || !pressed.outputDown) return;
  pressed.outputDown = false;
  for (const PressRecord& other : local_.presses) {
    if (&other != &pressed && other.fate == Fate::Replaced && other.outputDown &&
        other.output.kind == pressed.output.kind && pressed.output.kind != HeldOutput::Kind::Tap &&
        other.output.virtualKey == pressed.output.virtualKey &&
        (pressed.output.kind != HeldOutput::Kind::Button ||
         other.output.pressFlags == pressed.output.pressFlags)) {
      return;
    }
  }
  InjectHeldOutput(pressed.output, false);
}

void HookEngine::InjectHeldOutput(const HeldOutput& output, bool press) {
  switch (output.kind) {
    case HeldOutput::Kind::None:
      return;
    case HeldOutput::Kind::Key:
      platform_.InjectKey(output.virtualKey, output.scanCode,
                          press ? output.pressFlags : output.releaseFlags);
      return;
    case HeldOutput::Kind::Tap:
      if (press) {
        platform_.InjectKey(output.virtualKey, output.scanCode, output.pressFlags);
        platform_.InjectKey(output.virtualKey, output.scanCode, output.releaseFlags);
      }
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

// An auto-repeat repeats what the press did: it passes, puts the output down again, runs the
// hotkey's action again or is swallowed. A paused library runs no action; once the host window
// has gone it puts nothing down either.
int HookEngine::RepeatRecorded(std::size_t record, Say say) {
  PressRecord& pressed = local_.presses[record];
  switch (pressed.fate) {
    case Fate::Passed:
      return 0;
    case Fate::Replaced:
      if (say != Say::None) {
        pressed.outputDown = true;
        InjectHeldOutput(pressed.output, true);
      }
      return 1;
    case Fate::Action:
      if (say == Say::Full && !pressed.action.empty()) {
        const std::string action = pressed.action;
        RunAction(action);
      }
      return 1;
    case Fate::WinL:
      if (say == Say::Full) InjectMaskKey();
      return 1;
    default:
      return 1;
  }
}

// The release ends the record and undoes what the press put down. It reaches the system when
// the press (or a repeat) did; a right press held back goes with it, a click, unless the wheel
// turned meanwhile.
int HookEngine::ReleaseRecorded(std::size_t record) {
  const PressRecord& pressed = local_.presses[record];
  int result = pressed.fate == Fate::Passed || pressed.reachedSystem ? 0 : 1;
  if (pressed.fate == Fate::HeldBack && !pressed.scrolled) {
    platform_.InjectMouse(win::kMouseRightDown);
    result = 0;
  }
  EndRecord(record);
  return result;
}

// A release the hooks saw no press of (the key went down before they were installed, or while
// the system had removed them) reaches the system only while the system holds the key: a
// release of a key that is up there would be news to every window. A button's release always
// goes, as the system's button state follows the physical buttons, not the swapped ones.
int HookEngine::UnrecordedRelease(std::uint8_t virtualKey) {
  if (virtualKey == win::kVkLButton || virtualKey == win::kVkRButton ||
      virtualKey == win::kVkMButton) {
    return 0;
  }
  return SystemHoldsForRelease(virtualKey) ? 0 : 1;
}

// What the library holds down for the system in place of physical keys, by virtual key.
std::bitset<256> HookEngine::HeldForSystem() const {
  std::bitset<256> held;
  for (const PressRecord& pressed : local_.presses) {
    if (pressed.fate != Fate::Replaced || !pressed.outputDown) continue;
    switch (pressed.output.kind) {
      case HeldOutput::Kind::Key:
        held.set(pressed.output.virtualKey);
        break;
      case HeldOutput::Kind::Button:
        held.set(pressed.output.pressFlags == win::kMouseLeftDown     ? win::kVkLButton
                 : pressed.output.pressFlags == win::kMouseMiddleDown ? win::kVkMButton
                                                                      : win::kVkRButton);
        break;
      case HeldOutput::Kind::NeutralNumLock:
        held.set(win::kVkNumLock);
        break;
      default:
        break;
    }
  }
  return held;
}

// Paused, every new press passes untouched; the keys and buttons pressed before go on as they
// began (the system never saw what the library swallowed or held back).
int HookEngine::ContinueWhilePaused(std::uint32_t message, std::uint8_t virtualKey,
                                    std::size_t record) {
  if (record == PressRecords::kNone) return 0;
  int result = 0;
  WithInjectionPassing(
      [&] { result = FollowWithoutDeciding(message, virtualKey, record, Say::Paused); });
  return result;
}

// Once the host window has gone the library decides nothing new, but a release still ends as
// its press began: the release of a swallowed press never reaches the system alone.
int HookEngine::AfterHostGone(std::uint32_t message, std::uint8_t virtualKey, std::size_t record) {
  if (record == PressRecords::kNone) return 0;
  PressRecord& pressed = local_.presses[record];
  const bool press = win::IsKeyPress(message) || win::IsButtonPress(message);
  const bool button = record >= PressRecords::ButtonIndex(win::kVkLButton);
  if (press && (!pressed.Active() || button)) {
    pressed = {};
    pressed.fate = Fate::Passed;
    pressed.pressedAs = virtualKey;
    pressed.reachedSystem = true;
    return 0;
  }
  int result = 0;
  WithInjectionPassing(
      [&] { result = FollowWithoutDeciding(message, virtualKey, record, Say::None); });
  return result;
}

int HookEngine::FollowWithoutDeciding(std::uint32_t message, std::uint8_t virtualKey,
                                      std::size_t record, Say say) {
  const PressRecord& pressed = local_.presses[record];
  if (win::IsKeyRelease(message) || win::IsButtonRelease(message)) {
    return pressed.Active() ? ReleaseRecorded(record) : UnrecordedRelease(virtualKey);
  }
  if (!pressed.Active() || pressed.fate == Fate::Deciding) return 0;
  return RepeatRecorded(record, say);
}

void HookEngine::LetGoOfArmedShift() {
  if (!state_.ShiftArmed) return;
  WithInjectionPassing([&] { ReleaseArmedShift(); });
}

// The library is about to lose its say (stopped, or its host window gone): nothing it put down
// may stay down once it has. The records stay, so that the releases still to come end as their
// presses began.
void HookEngine::LetGoOfEverything() {
  DropUndecidedTapHold();
  WithInjectionPassing([&] {
    if (state_.ShiftArmed) ReleaseArmedShift();
    for (PressRecord& pressed : local_.presses) LetGoOfOutput(pressed);
  });
}

// The one place that forgets what is held or tracked as down, for when no hook will see the
// releases still to come (stopped), or the system let go of everything (the lock screen).
void HookEngine::ForgetEverythingHeld() {
  DropUndecidedTapHold();
  local_.lastTap = {};
  local_.presses = {};
  local_.physicallyDown.reset();
  local_.passedDown.reset();
  local_.heldWhenAwayBegan.reset();
  local_.releasedDuringShortcut.reset();
  local_.deferredCount = 0;
  state_.HangulKeyDown = state_.HanjaKeyDown = 0;
  state_.ShiftHeld = state_.KeyWhileShift = state_.ShiftArmed = 0;
}
