#pragma once

#include <cstdint>

// The Windows numbers the engine works with, spelled out so that the portable code needs no
// Windows headers.
namespace win {

inline constexpr int kHcAction = 0;

inline constexpr std::uint32_t kWmKeyDown = 0x100;
inline constexpr std::uint32_t kWmKeyUp = 0x101;
inline constexpr std::uint32_t kWmSysKeyDown = 0x104;
inline constexpr std::uint32_t kWmSysKeyUp = 0x105;
inline constexpr std::uint32_t kWmKeyLast = 0x108;

inline constexpr std::uint32_t kWmMouseMove = 0x200;
inline constexpr std::uint32_t kWmLButtonDown = 0x201;
inline constexpr std::uint32_t kWmLButtonUp = 0x202;
inline constexpr std::uint32_t kWmRButtonDown = 0x204;
inline constexpr std::uint32_t kWmRButtonUp = 0x205;
inline constexpr std::uint32_t kWmMButtonDown = 0x207;
inline constexpr std::uint32_t kWmMButtonUp = 0x208;
inline constexpr std::uint32_t kWmMouseWheel = 0x20A;
inline constexpr std::uint32_t kWmXButtonDown = 0x20B;
inline constexpr std::uint32_t kWmXButtonUp = 0x20C;
inline constexpr std::uint32_t kWmMouseHWheel = 0x20E;
inline constexpr std::uint32_t kWmHScroll = 0x114;

inline bool IsKeyPress(std::uint32_t message) {
  return message == kWmKeyDown || message == kWmSysKeyDown;
}
inline bool IsKeyRelease(std::uint32_t message) {
  return message == kWmKeyUp || message == kWmSysKeyUp;
}

// The virtual key of the mouse button a button message is about (VK_LBUTTON, VK_RBUTTON,
// VK_MBUTTON), 0 for any other message.
inline std::uint8_t ButtonOfMessage(std::uint32_t message) {
  switch (message) {
    case kWmLButtonDown:
    case kWmLButtonUp:
      return 0x01;
    case kWmRButtonDown:
    case kWmRButtonUp:
      return 0x02;
    case kWmMButtonDown:
    case kWmMButtonUp:
      return 0x04;
    default:
      return 0;
  }
}
inline bool IsButtonPress(std::uint32_t message) {
  return message == kWmLButtonDown || message == kWmRButtonDown || message == kWmMButtonDown;
}
inline bool IsButtonRelease(std::uint32_t message) {
  return message == kWmLButtonUp || message == kWmRButtonUp || message == kWmMButtonUp;
}

// Virtual keys.
inline constexpr std::uint8_t kVkLButton = 0x01;
inline constexpr std::uint8_t kVkRButton = 0x02;
inline constexpr std::uint8_t kVkMButton = 0x04;
inline constexpr std::uint8_t kVkShift = 0x10;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkMenu = 0x12;
inline constexpr std::uint8_t kVkCapital = 0x14;
inline constexpr std::uint8_t kVkHangul = 0x15;
inline constexpr std::uint8_t kVkHanja = 0x19;
inline constexpr std::uint8_t kVkSpace = 0x20;
inline constexpr std::uint8_t kVkInsert = 0x2D;
inline constexpr std::uint8_t kVkL = 0x4C;
inline constexpr std::uint8_t kVkLWin = 0x5B;
inline constexpr std::uint8_t kVkRWin = 0x5C;
inline constexpr std::uint8_t kVkF10 = 0x79;
inline constexpr std::uint8_t kVkNumLock = 0x90;
inline constexpr std::uint8_t kVkLShift = 0xA0;
inline constexpr std::uint8_t kVkRShift = 0xA1;
inline constexpr std::uint8_t kVkLControl = 0xA2;
inline constexpr std::uint8_t kVkRControl = 0xA3;
inline constexpr std::uint8_t kVkLMenu = 0xA4;
inline constexpr std::uint8_t kVkRMenu = 0xA5;

// keybd_event flags.
inline constexpr std::uint32_t kKeyEventExtended = 0x1;
inline constexpr std::uint32_t kKeyEventKeyUp = 0x2;
// The low-level keyboard event's flag of an extended key (LLKHF_EXTENDED).
inline constexpr std::uint32_t kLowLevelExtended = 0x1;

// mouse_event flags.
inline constexpr std::uint32_t kMouseLeftDown = 0x02;
inline constexpr std::uint32_t kMouseLeftUp = 0x04;
inline constexpr std::uint32_t kMouseRightDown = 0x08;
inline constexpr std::uint32_t kMouseRightUp = 0x10;
inline constexpr std::uint32_t kMouseMiddleDown = 0x20;
inline constexpr std::uint32_t kMouseMiddleUp = 0x40;

// SetWindowsHookEx kinds.
inline constexpr int kWhKeyboardLl = 13;
inline constexpr int kWhMouseLl = 7;

}  // namespace win
