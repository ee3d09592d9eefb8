#include "editors/KeyNaming.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "common/KeyNameTable.h"

std::string FormatKeyName(int virtualKey, int scanCode, std::uint8_t leftCtrl, std::uint8_t leftAlt,
                          std::uint8_t leftShift, std::uint8_t leftWin, std::uint8_t rightCtrl,
                          std::uint8_t rightAlt, std::uint8_t rightShift, std::uint8_t rightWin) {
  // Shown pair by pair, left before right, unlike the order in which they are stored.
  const std::array<std::pair<std::uint8_t, std::string_view>, 8> modifiers = {{
      {leftCtrl, "LCtrl"},
      {rightCtrl, "RCtrl"},
      {leftAlt, "LAlt"},
      {rightAlt, "RAlt"},
      {leftShift, "LShift"},
      {rightShift, "RShift"},
      {leftWin, "LWin"},
      {rightWin, "RWin"},
  }};
  std::string held;
  for (const auto& [set, word] : modifiers) {
    if (set == 0) continue;
    if (!held.empty()) held += '+';
    held += word;
  }
  if ((virtualKey > 0 || scanCode > 0) && !held.empty()) held += '+';

  char pair[32];
  std::snprintf(pair, sizeof pair, "%02x/%02x", static_cast<unsigned>(virtualKey),
                static_cast<unsigned>(scanCode));
  // Codes beyond a byte have no name: the table holds byte pairs only.
  if (virtualKey >= 0 && virtualKey <= 0xFF && scanCode >= 0 && scanCode <= 0xFF) {
    const KeyCodePair codes{static_cast<std::uint8_t>(virtualKey),
                            static_cast<std::uint8_t>(scanCode)};
    if (const auto name = NameOfKey(codes)) return held + std::string(*name);
  }
  return "[" + held + pair + "]";
}

void NormalizeCapturedKey(std::uint8_t& virtualKey, std::uint8_t scanCode) {
  constexpr std::uint8_t kShift = 0x10, kControl = 0x11, kMenu = 0x12;
  if (virtualKey == kShift && scanCode == 0x2A) {
    virtualKey = 0xA0;
  } else if (virtualKey == kShift && scanCode == 0x36) {
    virtualKey = 0xA1;
  } else if (virtualKey == kControl && scanCode == 0x1D) {
    virtualKey = 0xA2;
  } else if (virtualKey == kMenu && scanCode == 0x38) {
    virtualKey = 0xA4;
  }
}
