#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/ProgramNameText.h"

// Rules for one program live beside the rules for all programs, in a section named after
// theirs, a colon and the program's file name ("KeyChange:notepad.exe"). Names compare as
// Windows compares file names ("ÉDITEUR.EXE" is "éditeur.exe"), as the library compares them.

// The section of `kind` for `program`; `kind` itself for all programs (an empty program).
std::string ProgramSection(std::string_view kind, std::string_view program);

// The programs that have a section of `kind` among `sectionNames`, each once (as first spelt),
// ordered by name without regard to letter case.
std::vector<std::string> ProgramsWithSections(const ProgramNameText& names,
                                              const std::vector<std::string>& sectionNames,
                                              std::string_view kind);
// The same for the sections of any of `kinds`.
std::vector<std::string> ProgramsWithSections(const ProgramNameText& names,
                                              const std::vector<std::string>& sectionNames,
                                              const std::vector<std::string_view>& kinds);

// Every program section of any of `kinds` among `sectionNames`, each once, in their order.
std::vector<std::string> ProgramSectionsOf(const ProgramNameText& names,
                                           const std::vector<std::string>& sectionNames,
                                           const std::vector<std::string_view>& kinds);

// The program a path names: its file name without the folder.
std::string ProgramOfPath(std::string_view path);

// A file name that can name a section: not empty, no "]" (which would end the section's
// name) and no character below a blank.
bool CanNameSection(std::string_view program);
