#pragma once

#include <string>
#include <vector>

#include "profile/SectionReplacement.h"
#include "ui/DialogHost.h"

inline constexpr const char* kRulesNotWritten =
    "설정을 규칙 파일에 쓰지 못했습니다. 이전 설정이 그대로 남아 있습니다.\n\n규칙 파일이 읽기 "
    "전용이거나, 디스크가 가득 찼거나, 다른 프로그램이 사용 중인지 확인한 뒤 다시 시도하십시오."
    "\n\n";
inline constexpr const char* kRuleNotDeleted =
    "규칙 파일에서 설정을 지우지 못했습니다. 설정이 그대로 남아 있습니다.\n\n";

// Replaces one section of the rule file in one step. When that fails the file holds the old
// rules, and the user is told so in a message box owned by `owner`; false then.
bool WriteRuleSection(WindowHandle owner, const std::string& ruleFile, SectionLines section);
// The same for several sections, all in the one step.
bool WriteRuleSections(WindowHandle owner, const std::string& ruleFile,
                       std::vector<SectionLines> sections);

// Deletes one key of a section at once; a failure is told as above.
bool DeleteRuleKey(WindowHandle owner, const std::string& ruleFile, const std::string& section,
                   const std::string& key);
