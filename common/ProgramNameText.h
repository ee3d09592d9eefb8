#pragma once

#include <optional>
#include <string>
#include <string_view>

// How the system spells and compares a program's file name. A rule section names a program in
// bytes of the ANSI code page (the profile functions' "A" form); a running program's name comes
// in UTF-16. Windows compares file names code unit by code unit, each made upper case by the
// file system's table, whatever the code page: so do the library and the editors.
class ProgramNameText {
 public:
  virtual ~ProgramNameText() = default;
  // The ANSI code page's bytes in UTF-16; nullopt for bytes that are no text of that code page
  // (no running program can have such a name).
  virtual std::optional<std::u16string> WideFromAnsi(std::string_view bytes) const = 0;
  // Each code unit in upper case, one for one (no "ß" as "SS"): the file system's comparison.
  virtual void ToUpper(std::u16string& name) const = 0;
};
