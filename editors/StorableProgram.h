#pragma once

#include <string>

// The program of an action record as the rule file can hold it. Windows takes "/" in a path as
// "\", but in a record "/" ends the field, so the path gets "\". The rule file is written in
// the ANSI code page: a path or parameter with a character the code page lacks goes as its
// short form, and one without a short form is refused (a best fit would run another program).
inline constexpr const char* kPathNotStorable =
    "지정 프로그램의 경로에 이 Windows의 문자 집합(코드 페이지)으로 저장할 수 없는 문자가 "
    "있습니다.\n\n다른 폴더나 이름의 프로그램을 지정하십시오.";
inline constexpr const char* kParameterNotStorable =
    "파라미터에 이 Windows의 문자 집합(코드 페이지)으로 저장할 수 없는 문자가 있습니다.";

struct StorableProgram {
  std::string path;
  std::string parameter;
  const char* problem = nullptr;  // what to tell the user when it cannot be stored
};

// `noSuchFile` is the editor's own message for a path that names no existing file.
StorableProgram MakeStorable(std::string path, const std::string& parameter,
                             const char* noSuchFile);
