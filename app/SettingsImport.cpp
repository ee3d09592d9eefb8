#include <algorithm>
#include <iterator>
#include <optional>
#include <set>

#include "app/RegistryNames.h"
#include "app/SettingsFile.h"
#include "app/SettingsFileKeys.h"
#include "common/TextCase.h"
#include "editors/ProgramSections.h"
#include "editors/RuleSectionLines.h"
#include "ui/CUtilityLib.h"

namespace settings_file {

namespace {

// The order in which the rule sections for all programs are taken over; each program's own
// sections of these kinds follow.
constexpr const char* kImportedRuleSections[] = {"KeyChange", "TapHold", "Hotkey", "MouseMap2"};

std::vector<std::string> ProgramSectionsIn(const std::string& file) {
  return ProgramSectionsOf(CUtilityLib::Get().ProgramNames(),
                           CUtilityLib::Get().Profiles().SectionNames(file),
                           {std::begin(kImportedRuleSections), std::end(kImportedRuleSections)});
}

bool IsSettingsFile(const std::string& file) {
  return !CUtilityLib::GetWholeProfileSection(kOptionsSection, file).empty();
}

// A settings file's copy of the rule sections, as the library would read it: lines without
// "=" are no rules, and of two lines with one key only the first counts. Nullopt, with the
// section named, when a section is too large to be read whole: a cut copy would lose rules.
std::optional<std::vector<SectionLines>> ReadRuleSections(const std::string& file,
                                                          std::string& tooLarge) {
  std::vector<std::string> names(std::begin(kImportedRuleSections),
                                 std::end(kImportedRuleSections));
  for (std::string& program : ProgramSectionsIn(file)) names.push_back(std::move(program));
  std::vector<SectionLines> sections;
  for (const std::string& section : names) {
    const auto lines = CUtilityLib::GetCompleteProfileSection(section, file);
    if (!lines) {
      tooLarge = section;
      return std::nullopt;
    }
    SectionLines taken{section, {}};
    std::set<std::string> keys;
    for (const std::string& line : *lines) {
      if (line.find('=') != std::string::npos && keys.insert(LineKey(line)).second) {
        taken.lines.push_back(line);
      }
    }
    sections.push_back(std::move(taken));
  }
  return sections;
}

// The options as the registry holds them now, to be put back when the new ones cannot all be
// written.
std::vector<std::optional<RegistryValue>> ReadOptions() {
  std::vector<std::optional<RegistryValue>> values;
  for (const SettingsFileKey& entry : kKeys) {
    values.push_back(CUtilityLib::Get().ReadRegistry(
        RegistryRoot::CurrentUser, registry_name::kConfigKey, entry.registryName));
  }
  return values;
}

bool WriteOptions(const std::string& file) {
  for (const SettingsFileKey& entry : kKeys) {
    const int value =
        CUtilityLib::GetPrivateProfileIntA(kOptionsSection, entry.key, entry.defaultValue, file);
    if (!CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, registry_name::kConfigKey,
                                    entry.registryName, static_cast<std::uint32_t>(value))) {
      return false;
    }
  }
  return true;
}

void RestoreOptions(const std::vector<std::optional<RegistryValue>>& values) {
  Services& services = CUtilityLib::Get();
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    if (values[i]) {
      services.WriteRegistry(RegistryRoot::CurrentUser, registry_name::kConfigKey,
                             kKeys[i].registryName, *values[i]);
    } else {
      services.DeleteRegistryValue(RegistryRoot::CurrentUser, registry_name::kConfigKey,
                                   kKeys[i].registryName);
    }
  }
}

void Tell(WindowHandle owner, const std::string& text) {
  CUtilityLib::Get().MessageBox(owner, text, kImportTitle,
                                message_box::kOk | message_box::kIconExclamation);
}

}  // namespace

bool Import(WindowHandle owner, const std::string& ruleFile) {
  std::string file;
  if (!CUtilityLib::SelectFile(file, kImportTitle, kFilter, owner)) return false;
  if (!IsSettingsFile(file)) {
    Tell(owner, kNotASettingsFile + file);
    return false;
  }
  std::string tooLarge;
  const auto sections = ReadRuleSections(file, tooLarge);
  if (!sections) {
    Tell(owner, std::string(kSectionTooLarge) + "[" + tooLarge + "]\n\n" + file);
    return false;
  }
  // The settings file's program sections replace the rule file's: a program section that the
  // settings file lacks goes (an empty section is removed in the same step). A file without any
  // may well come from before rules for one program: the user says whether to keep them.
  const std::vector<std::string> currentPrograms = ProgramSectionsIn(ruleFile);
  bool keepPrograms = false;
  if (!currentPrograms.empty() && ProgramSectionsIn(file).empty()) {
    const int answer =
        CUtilityLib::Get().MessageBox(owner, kKeepProgramRulesQuestion, kImportTitle,
                                      message_box::kYesNoCancel | message_box::kIconQuestion);
    if (answer == message_box::kIdCancel) return false;
    keepPrograms = answer != message_box::kIdNo;
  }
  std::vector<SectionLines> newSections = *sections;
  for (const std::string& section : keepPrograms ? std::vector<std::string>{} : currentPrograms) {
    const bool carried = std::any_of(
        newSections.begin(), newSections.end(),
        [&](const SectionLines& taken) { return EqualsIgnoringCase(taken.name, section); });
    if (!carried) newSections.push_back({section, {}});
  }
  // The old rules and options are kept to be put back if the import cannot finish.
  std::vector<SectionLines> oldSections;
  for (const SectionLines& section : newSections) {
    oldSections.push_back(
        {section.name, CUtilityLib::GetWholeProfileSection(section.name, ruleFile)});
  }
  const auto oldOptions = ReadOptions();
  // The rules first, every section in one step: when they cannot be written, the options stay
  // as they are too.
  Profile& profiles = CUtilityLib::Get().Profiles();
  if (!profiles.ReplaceSections(ruleFile, newSections)) {
    Tell(owner, kRuleFileNotReplaced + ruleFile);
    return false;
  }
  if (!WriteOptions(file)) {
    RestoreOptions(oldOptions);
    profiles.ReplaceSections(ruleFile, oldSections);
    Tell(owner, kOptionsNotWritten);
    return true;  // some options may have changed for a moment: the window reads them again
  }
  return true;
}

}  // namespace settings_file
