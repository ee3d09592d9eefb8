#pragma once

#include "common/ProgramNameText.h"

// The system's own conversion and case table: the ANSI code page as it is set (949, 1252, and
// 65001 alike), upper case as the file system compares names.
class Win32ProgramNameText final : public ProgramNameText {
 public:
  std::optional<std::u16string> WideFromAnsi(std::string_view bytes) const override;
  void ToUpper(std::u16string& name) const override;
};
