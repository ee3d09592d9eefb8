#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How a rule list writes back a section it read: every line in its place, whether the list
// showed it or not.

// A line the list does not show: one it cannot read as a rule, or one whose key an earlier line
// already has (the profile functions and the library only ever see the first). It is written
// back as it stands, in its place.
struct KeptLine {
  std::size_t place = 0;  // among the section's lines
  std::string text;
};

// One row of the list as it is written, and the place of the line it was read from (none for a
// row added since).
struct RowLine {
  std::string text;
  std::optional<std::size_t> place;
};

// The key of a section line as the profile functions match it: the text before the first "=",
// trimmed, in lower case.
std::string LineKey(std::string_view line);

// The section's new lines: the rows in their order, each kept line before the first row read
// from a later place (rows added since come after everything). A kept line is left out when a
// row for the same key comes after it, since it would hide that row: the row is the rule the
// user set, and the kept line meant no rule of its own for that key.
std::vector<std::string> ArrangeSectionLines(const std::vector<RowLine>& rows,
                                             const std::vector<KeptLine>& kept);
