#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/ProgramNameText.h"

// Program names as keys that compare as Windows compares file names: UTF-16, upper case.

// UTF-8 (the text of the portable code) in UTF-16; nullopt for bytes that are not UTF-8.
std::optional<std::u16string> Utf16FromUtf8(std::string_view text);

// The key of a running program's file name.
std::u16string ProgramNameKey(const ProgramNameText& text, std::u16string name);
// The key of a program named in a rule section's bytes; nullopt for a name the ANSI code page
// cannot have written (it matches no program).
std::optional<std::u16string> ProgramNameKeyOfAnsi(const ProgramNameText& text,
                                                   std::string_view bytes);
// Whether two UTF-8 names are one program's. Names that are not UTF-8 compare as bytes.
bool SameProgramName(const ProgramNameText& text, std::string_view a, std::string_view b);
// Ordering by key, for lists of programs.
bool ProgramNameLess(const ProgramNameText& text, std::string_view a, std::string_view b);
