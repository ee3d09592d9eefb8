#include "common/KeyCodePair.h"

#include <cstdio>

std::string FormatKeyCodes(unsigned virtualKey, unsigned scanCode) {
  char text[16];
  std::snprintf(text, sizeof text, "%02x/%02x", virtualKey & 0xFFFFu, scanCode & 0xFFFFu);
  return text;
}

std::string FormatKeyCodePair(KeyCodePair pair) {
  return FormatKeyCodes(pair.virtualKey, pair.scanCode);
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::uint8_t> ParseHexByte(std::string_view two) {
  const int high = HexDigit(two[0]);
  const int low = HexDigit(two[1]);
  if (high < 0 || low < 0) return std::nullopt;
  return static_cast<std::uint8_t>(high * 16 + low);
}

}  // namespace

std::optional<KeyCodePair> ParseKeyCodePair(std::string_view text) {
  if (text.size() != 5 || text[2] != '/') return std::nullopt;
  const auto virtualKey = ParseHexByte(text.substr(0, 2));
  const auto scanCode = ParseHexByte(text.substr(3, 2));
  if (!virtualKey || !scanCode) return std::nullopt;
  return KeyCodePair{*virtualKey, *scanCode};
}
