#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// What the library holds down for the system in place of a physical key: a key, a mouse button,
// the Num Lock that the neutralised key leaves down, or a tap (the Korean/English or Hanja key
// that Shift+Space or Ctrl+Space becomes: each press taps it, the release has nothing to undo).
struct HeldOutput {
  enum class Kind : std::uint8_t { None, Key, Button, NeutralNumLock, Tap };
  Kind kind = Kind::None;
  std::uint8_t virtualKey = 0;  // Key, Tap: what goes down
  std::uint8_t scanCode = 0;
  std::uint32_t pressFlags = 0;  // Key, Tap: keybd_event flags; Button: mouse_event flags
  std::uint32_t releaseFlags = 0;
};

// What the press of one physical key or button became. Its auto-repeats and its release follow
// this, whatever changed since (the program in front, the rules, the switches, the pause, the
// host window): nothing is looked up again, so a release always undoes exactly what its press
// did.
struct PressRecord {
  enum class Fate : std::uint8_t {
    Up,         // no press seen since the last release
    Deciding,   // a press is being decided right now
    Passed,     // reached the system untouched
    Swallowed,  // reached nothing
    Replaced,   // `output` went down in its place
    Action,     // ran `action` (a hotkey; the middle button's rule, then `action` stays empty)
    WinL,       // L with the Windows key alone: the away mode begins at its release
    HeldBack,   // the right button waits for a wheel turn, its release or a drag
    Undecided,  // a tap-hold key, not yet a tap or a hold
    Waiting,    // pressed while a tap-hold key was undecided: decided once that key is
  };
  Fate fate = Fate::Up;
  std::uint8_t pressedAs = 0;  // the virtual key of the first press
  // Some press of the key (the first or a repeat) reached the system: its release is owed.
  bool reachedSystem = false;
  // Replaced: the output is down for the system. After the hooks were gone a while it may have
  // been let go of; the key's next auto-repeat puts it down again.
  bool outputDown = false;
  bool scrolled = false;  // HeldBack: the wheel turned meanwhile, so no click follows
  HeldOutput output;
  std::string action;

  bool Active() const { return fate != Fate::Up; }
};

// One record per physical key and button. A key is told by its scan code and extended flag, which
// stay the same from press to release where the virtual key may not (Shift turns numpad 4 into
// Left while it is held; a window with another keyboard layout in front turns the Korean right
// Ctrl into a plain one). Input other programs inject without a scan code, and keys the hooks
// found down without having seen them go down, are told by their virtual key.
class PressRecords {
 public:
  static constexpr std::size_t kByScanCode = 512;
  static constexpr std::size_t kByVirtualKey = 256;
  static constexpr std::size_t kButtons = 3;
  static constexpr std::size_t kCount = kByScanCode + kByVirtualKey + kButtons;
  static constexpr std::size_t kNone = kCount;

  // The record a key event belongs to: its scan code's, unless only its virtual key's is active.
  std::size_t KeyIndex(std::uint32_t virtualKey, std::uint32_t scanCode, bool extended) const {
    const std::size_t byVirtualKey = VirtualKeyIndex(static_cast<std::uint8_t>(virtualKey));
    if ((scanCode & 0xFFu) == 0) return byVirtualKey;
    const std::size_t byScanCode = (scanCode & 0xFFu) | (extended ? 0x100u : 0u);
    return !records_[byScanCode].Active() && records_[byVirtualKey].Active() ? byVirtualKey
                                                                             : byScanCode;
  }
  static std::size_t VirtualKeyIndex(std::uint8_t virtualKey) { return kByScanCode + virtualKey; }
  // `button`: VK_LBUTTON, VK_RBUTTON or VK_MBUTTON.
  static std::size_t ButtonIndex(std::uint8_t button) {
    return kByScanCode + kByVirtualKey + (button == 0x01 ? 0 : button == 0x02 ? 1 : 2);
  }
  PressRecord& operator[](std::size_t index) { return records_[index]; }
  const PressRecord& operator[](std::size_t index) const { return records_[index]; }
  auto begin() { return records_.begin(); }
  auto end() { return records_.end(); }
  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }

 private:
  std::array<PressRecord, kCount> records_{};
};
