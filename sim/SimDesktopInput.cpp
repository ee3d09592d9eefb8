#include "sim/SimDesktop.h"

#include "hook/WindowsCodes.h"

void SimDesktop::DeliverInput(const Input& input) {
  if (sessionLocked_) {
    lastInput_ = TickCount();
    return;
  }
  static constexpr std::uint32_t kMessages[3][2] = {
      {win::kWmLButtonUp, win::kWmLButtonDown},
      {win::kWmMButtonUp, win::kWmMButtonDown},
      {win::kWmRButtonUp, win::kWmRButtonDown},
  };
  switch (input.kind) {
    case Input::Kind::Key:
      DeliverKey(input.key.virtualKey, input.key.scanCode, input.extended, input.down, false);
      break;
    case Input::Kind::Button:
      DeliverMouse(kMessages[static_cast<int>(input.button)][input.down ? 1 : 0], 0, false);
      break;
    case Input::Kind::Wheel:
      DeliverMouse(win::kWmMouseWheel,
                   static_cast<std::uint32_t>(static_cast<std::uint16_t>(input.delta)) << 16,
                   false);
      break;
  }
}

void SimDesktop::DeliverDuringInjection() {
  std::vector<Input> waiting;
  waiting.swap(duringInjection_);
  for (const Input& input : waiting) DeliverInput(input);
}

// An event waiting for an injection that this input did not cause arrives right after it.
void SimDesktop::Key(KeyCodePair key, bool extended, bool down) {
  RunRuleWatcher();
  Input input;
  input.kind = Input::Kind::Key;
  input.key = key;
  input.extended = extended;
  input.down = down;
  DeliverInput(input);
  DeliverDuringInjection();
}

void SimDesktop::MouseButton(Button button, bool down) {
  RunRuleWatcher();
  Input input;
  input.kind = Input::Kind::Button;
  input.button = button;
  input.down = down;
  DeliverInput(input);
  DeliverDuringInjection();
}

void SimDesktop::Wheel(std::int16_t delta) {
  RunRuleWatcher();
  Input input;
  input.kind = Input::Kind::Wheel;
  input.delta = delta;
  DeliverInput(input);
  DeliverDuringInjection();
}

void SimDesktop::Move(std::int32_t dx, std::int32_t dy) {
  RunRuleWatcher();
  if (sessionLocked_) return;
  cursorX_ += dx;
  cursorY_ += dy;
  DeliverMouse(win::kWmMouseMove, 0, false);
  DeliverDuringInjection();
}

// The system holds one state per key, which both the user's presses and the library's set: a
// physical release is news when the system does not hold the key and no press of it reached the
// system since the last physical release (the library may have let go of it in between, or
// pressed it for the user, as for a drag that began with a held-back press).
bool SimDesktop::NoteRelease(std::uint8_t key, bool down, bool injected) {
  if (down) {
    pressedSinceRelease_[key] = true;
    return false;
  }
  if (injected) return false;
  const bool news = !systemKeys_[key] && !pressedSinceRelease_[key];
  pressedSinceRelease_[key] = false;
  return news;
}
