#include "sim/SimProgramNameText.h"

#include <algorithm>
#include <array>

#include "common/ProgramNames.h"

namespace {

// The characters of 1252 beyond Latin-1 (its bytes 80 to 9F).
constexpr std::array<char16_t, 27> kWesternExtras = {
    0x0152, 0x0153, 0x0160, 0x0161, 0x0178, 0x017D, 0x017E, 0x0192, 0x02C6,
    0x02DC, 0x2013, 0x2014, 0x2018, 0x2019, 0x201A, 0x201C, 0x201D, 0x201E,
    0x2020, 0x2021, 0x2022, 0x2026, 0x2030, 0x2039, 0x203A, 0x20AC, 0x2122};

bool Holds(SimCodePage codePage, char16_t unit) {
  if (unit < 0x80) return true;
  switch (codePage) {
    case SimCodePage::Western:
      return (unit >= 0xA0 && unit <= 0xFF) ||
             std::find(kWesternExtras.begin(), kWesternExtras.end(), unit) != kWesternExtras.end();
    case SimCodePage::Korean:
      // Besides the syllables, 949 has the Greek and Cyrillic alphabets (without accents).
      return (unit >= 0xAC00 && unit <= 0xD7A3) ||
             (unit >= 0x391 && unit <= 0x3A9 && unit != 0x3A2) ||
             (unit >= 0x3B1 && unit <= 0x3C9 && unit != 0x3C2) ||
             (unit >= 0x410 && unit <= 0x44F) || unit == 0x401 || unit == 0x451;
    case SimCodePage::Utf8:
      return true;
  }
  return false;
}

char16_t Upper(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;
  // Latin Extended-A: pairs, the capital first, except where the pairs start one later.
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
      c != 0x17F) {
    const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    const bool lower = oddPairs ? (c % 2 == 0) : (c % 2 == 1);
    return lower ? c - 1 : c;
  }
  // Greek: the plain letters, final sigma, and the accented ones.
  if ((c >= 0x3B1 && c <= 0x3C1) || (c >= 0x3C3 && c <= 0x3CB)) return c - 0x20;
  if (c == 0x3C2) return 0x3A3;
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  // Cyrillic.
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  // Full-width Latin.
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;
  return c;
}

}  // namespace

bool SimCodePageHolds(SimCodePage codePage, std::string_view text) {
  const auto wide = Utf16FromUtf8(text);
  return wide && std::all_of(wide->begin(), wide->end(),
                             [&](char16_t unit) { return Holds(codePage, unit); });
}

std::optional<std::u16string> SimProgramNameText::WideFromAnsi(std::string_view bytes) const {
  if (!SimCodePageHolds(codePage_, bytes)) return std::nullopt;
  return Utf16FromUtf8(bytes);
}

void SimProgramNameText::ToUpper(std::u16string& name) const {
  for (char16_t& unit : name) unit = Upper(unit);
}
