#include "editors/RuleFileWrite.h"

#include <utility>

#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kAppTitle = "Tastron";

void Tell(WindowHandle owner, const std::string& text) {
  CUtilityLib::Get().MessageBox(owner, text, kAppTitle,
                                message_box::kOk | message_box::kIconExclamation);
}

}  // namespace

bool WriteRuleSection(WindowHandle owner, const std::string& ruleFile, SectionLines section) {
  return WriteRuleSections(owner, ruleFile, {std::move(section)});
}

bool WriteRuleSections(WindowHandle owner, const std::string& ruleFile,
                       std::vector<SectionLines> sections) {
  if (CUtilityLib::Get().Profiles().ReplaceSections(ruleFile, sections)) return true;
  Tell(owner, kRulesNotWritten + ruleFile);
  return false;
}

bool DeleteRuleKey(WindowHandle owner, const std::string& ruleFile, const std::string& section,
                   const std::string& key) {
  if (CUtilityLib::Get().Profiles().DeleteKey(ruleFile, section, key)) return true;
  Tell(owner, kRuleNotDeleted + ruleFile);
  return false;
}
