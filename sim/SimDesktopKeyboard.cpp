#include "sim/SimDesktop.h"

#include <cstdio>
#include <string>

#include "hook/WindowsCodes.h"

namespace {

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x", value & 0xFFu);
  return text;
}

bool IsAltKey(std::uint8_t virtualKey) {
  return virtualKey == win::kVkMenu || virtualKey == win::kVkLMenu || virtualKey == win::kVkRMenu;
}

// Generic Shift, Ctrl and Alt codes reach the system as their left or right key.
std::uint8_t SidedKey(std::uint8_t virtualKey, std::uint8_t scanCode, bool extended) {
  switch (virtualKey) {
    case win::kVkShift:
      return scanCode == 0x36 ? win::kVkRShift : win::kVkLShift;
    case win::kVkControl:
      return extended ? win::kVkRControl : win::kVkLControl;
    case win::kVkMenu:
      return extended ? win::kVkRMenu : win::kVkLMenu;
    default:
      return virtualKey;
  }
}

// The side of a sided Shift, Ctrl or Alt taken from the extended flag alone.
std::uint8_t SideFromExtendedFlag(std::uint8_t virtualKey, bool extended) {
  switch (virtualKey) {
    case win::kVkLShift:
    case win::kVkRShift:
      return extended ? win::kVkRShift : win::kVkLShift;
    case win::kVkLControl:
    case win::kVkRControl:
      return extended ? win::kVkRControl : win::kVkLControl;
    case win::kVkLMenu:
    case win::kVkRMenu:
      return extended ? win::kVkRMenu : win::kVkLMenu;
    default:
      return virtualKey;
  }
}

}  // namespace

// Windows decides: a press is a system key while Alt is down and Ctrl is not (the key itself
// counting), and F10 always is. A release is a system key while Alt is down and Ctrl is not (the
// key going up no longer counting). Alt's own release is a system key only when no other key went
// down or up since Alt's system-key press (a lone Alt tap): after Alt+X or Ctrl+Alt it is plain.
std::uint32_t SimDesktop::KeyMessage(std::uint8_t virtualKey, bool down) {
  const bool isAlt = IsAltKey(virtualKey);
  const bool isCtrl = virtualKey == win::kVkControl || virtualKey == win::kVkLControl ||
                      virtualKey == win::kVkRControl;
  const bool altHeld = systemKeys_[win::kVkLMenu] || systemKeys_[win::kVkRMenu];
  const bool ctrlHeld = systemKeys_[win::kVkLControl] || systemKeys_[win::kVkRControl];
  if (down) {
    const bool system = virtualKey == win::kVkF10 || ((altHeld || isAlt) && !(ctrlHeld || isCtrl));
    altTapPending_ = isAlt && system;
    return system ? win::kWmSysKeyDown : win::kWmKeyDown;
  }
  if (isAlt) {
    const bool tap = altTapPending_;
    altTapPending_ = false;
    return tap ? win::kWmSysKeyUp : win::kWmKeyUp;
  }
  altTapPending_ = false;
  const bool ctrlStillHeld = ctrlHeld && !isCtrl;
  return virtualKey == win::kVkF10 || (altHeld && !ctrlStillHeld) ? win::kWmSysKeyUp
                                                                  : win::kWmKeyUp;
}

void SimDesktop::SetSystemKey(std::uint8_t virtualKey, bool down) {
  systemKeys_[virtualKey] = down;
  systemKeys_[win::kVkShift] = systemKeys_[win::kVkLShift] || systemKeys_[win::kVkRShift];
  systemKeys_[win::kVkControl] = systemKeys_[win::kVkLControl] || systemKeys_[win::kVkRControl];
  systemKeys_[win::kVkMenu] = systemKeys_[win::kVkLMenu] || systemKeys_[win::kVkRMenu];
}

void SimDesktop::DeliverKey(std::uint8_t virtualKey, std::uint8_t scanCode, bool extended,
                            bool down, bool injected) {
  const std::uint8_t sided = SidedKey(virtualKey, scanCode, extended);
  const std::uint32_t message = KeyMessage(sided, down);
  lastInput_ = TickCount();
  if (keyboardHooks_ > 0) {
    const HookVerdict verdict = TimedHookCall([&] {
      return Engine().KeyboardProcedure(win::kHcAction, message, sided, scanCode,
                                        extended ? win::kLowLevelExtended : 0,
                                        injected ? kLibraryInjectionTag : 0);
    });
    if (verdict == HookVerdict::Swallow) return;
  }
  const std::uint8_t held = sidesFromExtendedFlag_ ? SideFromExtendedFlag(sided, extended) : sided;
  // A release that no hook saw is the system's own business, not the library's.
  if (NoteRelease(held, down, injected) && keyboardHooks_ > 0) {
    releasesOfKeysUp_.push_back("key up " + Hex2(sided) + '/' + Hex2(scanCode));
  }
  SetSystemKey(held, down);
  trace_ << "key " << (down ? "down " : "up ") << Hex2(sided) << '/' << Hex2(scanCode)
         << (extended ? " ext" : "") << (injected ? " injected" : "") << '\n';
}

void SimDesktop::InjectKey(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) {
  DeliverDuringInjection();
  DeliverKey(virtualKey, scanCode, (flags & win::kKeyEventExtended) != 0,
             (flags & win::kKeyEventKeyUp) == 0, true);
}
