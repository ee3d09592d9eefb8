#pragma once

#include <optional>
#include <string_view>

#include "common/TextCase.h"

// How the profile functions cut a rule file into lines and find its sections; shared by the
// reader and by the one-step section replacement, so that both see the same sections.

// Calls `line` with each line's text and its end ("\r\n", "\n", "\r" or empty at the end).
template <typename LineVisitor>
void ForEachIniLine(std::string_view text, LineVisitor line) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      line(text.substr(start), std::string_view());
      break;
    }
    const std::size_t endLength =
        (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') ? 2 : 1;
    line(text.substr(start, stop - start), text.substr(stop, endLength));
    start = stop + endLength;
  }
}

// The name of a section line "[name]" (trimmed), or nullopt for any other line.
inline std::optional<std::string_view> IniSectionName(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  const std::size_t close = trimmed.rfind(']');
  if (close == std::string_view::npos || close == 0) return std::nullopt;
  return TrimBlanks(trimmed.substr(1, close - 1));
}
