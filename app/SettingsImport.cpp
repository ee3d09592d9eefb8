#include "app/RegistryNames.h"
#include "app/SettingsFile.h"
#include "app/SettingsFileKeys.h"
#include "ui/CUtilityLib.h"

namespace settings_file {

namespace {

// The order in which the rule sections are taken over.
constexpr const char* kImportedRuleSections[] = {"KeyChange", "Hotkey", "MouseMap2"};
constexpr const char* kCopySuffix = ".import";

bool IsSettingsFile(const std::string& file) {
  return !CUtilityLib::GetWholeProfileSection(kOptionsSection, file).empty();
}

// The rule file's other sections stay as they are; each of the three is replaced whole (a
// section the settings file lacks ends up empty, as it was when the file was saved).
bool WriteRuleSections(const std::string& settingsFile, const std::string& target) {
  Profile& profiles = CUtilityLib::Get().Profiles();
  for (const char* section : kImportedRuleSections) {
    const std::vector<std::string> lines =
        CUtilityLib::GetWholeProfileSection(section, settingsFile);
    if (CUtilityLib::IsFile(target) && !profiles.DeleteSection(target, section)) return false;
    for (const std::string& line : lines) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      if (!profiles.WriteString(target, section, line.substr(0, equals), line.substr(equals + 1))) {
        return false;
      }
    }
  }
  return true;
}

// The new sections go into a copy that then replaces the rule file in one step, so that a
// failure half way leaves the old rules whole (the hook library reads the file at any time).
bool ReplaceRuleSections(const std::string& settingsFile, const std::string& ruleFile) {
  Services& services = CUtilityLib::Get();
  const std::string copy = ruleFile + kCopySuffix;
  services.DeleteFileAt(copy);
  if (CUtilityLib::IsFile(ruleFile) && !services.CopyFileTo(ruleFile, copy)) return false;
  if (!WriteRuleSections(settingsFile, copy)) {
    services.DeleteFileAt(copy);
    return false;
  }
  if (!CUtilityLib::IsFile(copy)) return true;  // no rule file and nothing to write into one
  if (!services.ReplaceFileWith(copy, ruleFile)) {
    services.DeleteFileAt(copy);
    return false;
  }
  return true;
}

}  // namespace

bool Import(WindowHandle owner, const std::string& ruleFile) {
  std::string file;
  if (!CUtilityLib::SelectFile(file, kImportTitle, kFilter, owner)) return false;
  Services& services = CUtilityLib::Get();
  if (!IsSettingsFile(file)) {
    services.MessageBox(owner, kNotASettingsFile + file, kImportTitle,
                        message_box::kOk | message_box::kIconExclamation);
    return false;
  }
  // The rules first: when they cannot be written, the options stay as they are too.
  if (!ReplaceRuleSections(file, ruleFile)) {
    services.MessageBox(owner, kRuleFileNotReplaced, kImportTitle,
                        message_box::kOk | message_box::kIconExclamation);
    return false;
  }
  for (const SettingsFileKey& entry : kKeys) {
    const int value =
        CUtilityLib::GetPrivateProfileIntA(kOptionsSection, entry.key, entry.defaultValue, file);
    CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, registry_name::kConfigKey,
                               entry.registryName, static_cast<std::uint32_t>(value));
  }
  return true;
}

}  // namespace settings_file
