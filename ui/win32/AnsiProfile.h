#pragma once

#include "profile/win32/Win32Profile.h"

// The main program's profile access: UTF-8 inside, the ANSI code page in the files, through the
// real profile functions. File names go as the hook library gets them (AnsiFileName), so that
// the program and the library read and write the same rule file.
class AnsiProfile final : public Profile {
 public:
  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue, std::size_t bufferSize) override;
  ProfileSection GetSection(std::string_view file, std::string_view section,
                            std::size_t bufferSize) override;
  std::vector<std::string> SectionNames(std::string_view file) override;
  std::int32_t GetInt(std::string_view file, std::string_view section, std::string_view key,
                      std::int32_t defaultValue) override;
  bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;
  bool DeleteKey(std::string_view file, std::string_view section, std::string_view key) override;
  bool DeleteSection(std::string_view file, std::string_view section) override;
  bool ReplaceSections(std::string_view file, const std::vector<SectionLines>& sections) override;

 private:
  Win32Profile profile_;
};
