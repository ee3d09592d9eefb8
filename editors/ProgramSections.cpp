#include "editors/ProgramSections.h"

#include <algorithm>

#include "common/ProgramNames.h"
#include "common/TextCase.h"

namespace {

// The program of a section of `kind`: what follows "kind:", or nothing for another section.
std::string_view ProgramOf(std::string_view section, std::string_view kind) {
  if (section.size() <= kind.size() + 1 || section[kind.size()] != ':') return {};
  if (!EqualsIgnoringCase(section.substr(0, kind.size()), kind)) return {};
  return TrimBlanks(section.substr(kind.size() + 1));
}

}  // namespace

std::string ProgramSection(std::string_view kind, std::string_view program) {
  std::string section(kind);
  if (!program.empty()) section.append(":").append(program);
  return section;
}

std::vector<std::string> ProgramsWithSections(const ProgramNameText& names,
                                              const std::vector<std::string>& sectionNames,
                                              std::string_view kind) {
  return ProgramsWithSections(names, sectionNames, std::vector{kind});
}

std::vector<std::string> ProgramsWithSections(const ProgramNameText& names,
                                              const std::vector<std::string>& sectionNames,
                                              const std::vector<std::string_view>& kinds) {
  std::vector<std::string> programs;
  for (const std::string& section : sectionNames) {
    std::string_view program;
    for (std::string_view kind : kinds) {
      if (program.empty()) program = ProgramOf(section, kind);
    }
    if (program.empty()) continue;
    const bool known = std::any_of(programs.begin(), programs.end(), [&](const std::string& seen) {
      return SameProgramName(names, seen, program);
    });
    if (!known) programs.emplace_back(program);
  }
  std::stable_sort(
      programs.begin(), programs.end(),
      [&](const std::string& a, const std::string& b) { return ProgramNameLess(names, a, b); });
  return programs;
}

std::vector<std::string> ProgramSectionsOf(const ProgramNameText& names,
                                           const std::vector<std::string>& sectionNames,
                                           const std::vector<std::string_view>& kinds) {
  std::vector<std::string> sections;
  for (const std::string& section : sectionNames) {
    const bool ofKind = std::any_of(kinds.begin(), kinds.end(), [&](std::string_view kind) {
      return !ProgramOf(section, kind).empty();
    });
    const bool known = std::any_of(sections.begin(), sections.end(), [&](const std::string& seen) {
      return SameProgramName(names, seen, section);
    });
    if (ofKind && !known) sections.push_back(section);
  }
  return sections;
}

std::string ProgramOfPath(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool CanNameSection(std::string_view program) {
  if (TrimBlanks(program).empty()) return false;
  return std::none_of(program.begin(), program.end(),
                      [](char c) { return c == ']' || static_cast<unsigned char>(c) < 0x20; });
}
