#pragma once

#include "profile/IniDocument.h"
#include "profile/Profile.h"

// The portable profile engine: reads and writes real files with the behaviour of the Windows
// profile functions. A missing or unreadable file reads as empty; the first write creates it.
// A write replaces the file in one step, so a failed write leaves the old file whole; a link
// stays a link to the same target, and a read-only file is not written, as on Windows.
class IniFileProfile final : public Profile {
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
};
