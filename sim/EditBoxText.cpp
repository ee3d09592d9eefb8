#include "sim/EditBoxText.h"

std::string AsWindowsShowsIt(const std::string& text) {
  std::string shown;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80    ? 1
                               : lead >= 0xF0 ? 4
                               : lead >= 0xE0 ? 3
                               : lead >= 0xC2 ? 2
                                              : 0;
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    }
    if (!valid) {
      shown += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    shown.append(text, i, length);
    i += length;
  }
  return shown;
}

std::string FirstCharacters(const std::string& text, int limit) {
  if (limit <= 0) return text;
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == limit) {
      return text.substr(0, i);
    }
  }
  return text;
}
