#pragma once

#include <string>
#include <string_view>
#include <vector>

// One section's new contents: its lines ("key=value") written as given and in this order,
// so that a key written twice stays twice and the first one counts, as for every reader.
struct SectionLines {
  std::string name;
  std::vector<std::string> lines;
};

// The INI text with each named section's lines replaced: the section stays where it stood
// (its first occurrence), a section that is not there yet goes at the end, and a section
// without lines is removed. Every other line stays exactly as it was; new lines take the
// text's own line end ("\r\n" for a text without one).
std::string ReplaceSectionsInText(std::string_view text, const std::vector<SectionLines>& sections);
