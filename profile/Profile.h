#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "profile/SectionReplacement.h"

// A whole section as GetPrivateProfileSectionA returns it: "key=value" lines (and lines
// without "="), and the character count that the call reports for the given buffer size.
struct ProfileSection {
  std::vector<std::string> lines;
  std::size_t count = 0;
};

// The profile (INI) functions that the system uses, on a file named by each call. Section and
// key names match without regard to letter case. Windows builds use the real functions; tests
// and the simulator use the portable engine with the same behaviour.
class Profile {
 public:
  virtual ~Profile() = default;

  // The value of `key`, or `defaultValue` (trailing blanks removed) when there is none; one
  // pair of matching outer quotes is stripped. A buffer of `bufferSize` characters holds the
  // terminating zero too, so at most bufferSize - 1 characters come back; the string's size is
  // the count that the call reports.
  virtual std::string GetString(std::string_view file, std::string_view section,
                                std::string_view key, std::string_view defaultValue,
                                std::size_t bufferSize) = 0;

  virtual ProfileSection GetSection(std::string_view file, std::string_view section,
                                    std::size_t bufferSize) = 0;

  // The names of the file's sections, each once, in the order of the file; however many.
  virtual std::vector<std::string> SectionNames(std::string_view file) = 0;

  // The value read as a signed decimal number up to the first non-digit; `defaultValue` when
  // the key is missing or empty.
  virtual std::int32_t GetInt(std::string_view file, std::string_view section, std::string_view key,
                              std::int32_t defaultValue) = 0;

  // Each reports whether the file could be written.
  virtual bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) = 0;
  virtual bool DeleteKey(std::string_view file, std::string_view section, std::string_view key) = 0;
  virtual bool DeleteSection(std::string_view file, std::string_view section) = 0;

  // Replaces whole sections in one step: the file then holds all of the new sections (each
  // where it stood, a section without lines removed) or, when that fails, exactly what it
  // held before. Lines are written as given, a key twice included. A file that is a link stays
  // one; its target gets the new contents. A read-only file fails.
  virtual bool ReplaceSections(std::string_view file,
                               const std::vector<SectionLines>& sections) = 0;
};
