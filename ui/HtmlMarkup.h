#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The small markup of the program's static texts: <b>...</b> (either case), <br>,
// <font color=NAME|#rrggbb>...</font> and <a href=TARGET>...</a>. Other tags are dropped; text
// outside tags shows as it stands, with &lt; &gt; &amp; &quot; &nbsp; decoded.
struct MarkupRun {
  std::string text;  // empty for a line break
  bool bold = false;
  std::optional<std::uint32_t> colour;  // 0x00BBGGRR as Windows keeps colours
  std::string link;                     // the target of a link, empty outside links
  bool lineBreak = false;

  friend bool operator==(const MarkupRun&, const MarkupRun&) = default;
};

std::vector<MarkupRun> ParseMarkup(const std::string& markup);

// Whether a text uses the markup at all (a static text without it shows plainly).
bool HasMarkup(const std::string& text);

// A colour name or "#rrggbb" as 0x00BBGGRR; nullopt for what is neither.
std::optional<std::uint32_t> ParseColour(const std::string& text);
