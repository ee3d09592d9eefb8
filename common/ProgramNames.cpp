#include "common/ProgramNames.h"

#include <utility>

namespace {

// The length of a UTF-8 sequence from its lead byte and the smallest code point it may carry
// (shorter forms of a code point are not UTF-8); 0 for a byte that cannot lead.
struct Lead {
  int length;
  char32_t smallest;
};

Lead LeadOf(unsigned char byte) {
  if (byte < 0x80) return {1, 0};
  if ((byte & 0xE0) == 0xC0) return {2, 0x80};
  if ((byte & 0xF0) == 0xE0) return {3, 0x800};
  if ((byte & 0xF8) == 0xF0) return {4, 0x10000};
  return {0, 0};
}

std::optional<std::u16string> KeyOfUtf8(const ProgramNameText& text, std::string_view name) {
  auto wide = Utf16FromUtf8(name);
  if (wide) text.ToUpper(*wide);
  return wide;
}

}  // namespace

std::optional<std::u16string> Utf16FromUtf8(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const Lead lead = LeadOf(byte);
    if (lead.length == 0 || i + static_cast<std::size_t>(lead.length) > text.size()) {
      return std::nullopt;
    }
    char32_t point = lead.length == 1 ? byte : byte & (0x7F >> lead.length);
    for (int k = 1; k < lead.length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      point = (point << 6) | (next & 0x3F);
    }
    if (point < lead.smallest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
      return std::nullopt;
    }
    if (point >= 0x10000) {
      point -= 0x10000;
      wide.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
    } else {
      wide.push_back(static_cast<char16_t>(point));
    }
    i += static_cast<std::size_t>(lead.length);
  }
  return wide;
}

std::u16string ProgramNameKey(const ProgramNameText& text, std::u16string name) {
  text.ToUpper(name);
  return name;
}

std::optional<std::u16string> ProgramNameKeyOfAnsi(const ProgramNameText& text,
                                                   std::string_view bytes) {
  auto wide = text.WideFromAnsi(bytes);
  if (wide) text.ToUpper(*wide);
  return wide;
}

bool SameProgramName(const ProgramNameText& text, std::string_view a, std::string_view b) {
  const auto keyA = KeyOfUtf8(text, a);
  const auto keyB = KeyOfUtf8(text, b);
  if (!keyA || !keyB) return a == b;
  return *keyA == *keyB;
}

bool ProgramNameLess(const ProgramNameText& text, std::string_view a, std::string_view b) {
  const auto keyA = KeyOfUtf8(text, a);
  const auto keyB = KeyOfUtf8(text, b);
  if (!keyA || !keyB) return a < b;
  return *keyA < *keyB;
}
