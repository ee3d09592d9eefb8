#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A virtual-key code and a hardware scan code, one byte each. Written "%02x/%02x".
// Virtual key 0 with scan code 0x10, 0x11 or 0x12 stands for a mouse button (left, middle, right).
struct KeyCodePair {
  std::uint8_t virtualKey = 0;
  std::uint8_t scanCode = 0;

  friend bool operator==(const KeyCodePair&, const KeyCodePair&) = default;
};

// "%02x/%02x", lower-case.
std::string FormatKeyCodePair(KeyCodePair pair);
// Two two-digit lower-case hexadecimal numbers of any width (the low 16 bits are kept), as the
// hook library builds rule keys from event codes.
std::string FormatKeyCodes(unsigned virtualKey, unsigned scanCode);

// Reads the strict text form "vv/ss" (exactly two hexadecimal digits each, either case).
std::optional<KeyCodePair> ParseKeyCodePair(std::string_view text);
