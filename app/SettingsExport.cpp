#include "app/SettingsFile.h"
#include "app/SettingsFileKeys.h"
#include "common/TextCase.h"
#include "editors/ProgramSections.h"
#include "ui/CUtilityLib.h"

namespace settings_file {

namespace {

// The extension is added unless the name has it (in any letter case): "a.txt" saves as
// "a.txt.cfg", so a settings file always shows as one in the import dialog.
std::string WithSettingsExtension(const std::string& path) {
  return EqualsIgnoringCase(CUtilityLib::GetFileExt(path), "cfg") ? path : path + ".cfg";
}

bool WriteOptions(DialogHost& window, const std::string& file) {
  bool written = true;
  for (const SettingsFileKey& entry : kKeys) {
    written &= entry.isEdit ? CUtilityLib::WritePrivateProfileStringA(
                                  kOptionsSection, entry.key, window.Text(entry.controlId), file)
                            : CUtilityLib::WritePrivateProfileInt(
                                  kOptionsSection, entry.key,
                                  window.IsChecked(entry.controlId) ? 1 : 0, file);
  }
  return written;
}

// Whole sections, however long: a cut section would lose the user's last rules on import. Each
// program's own sections follow the four for all programs; an empty value there is a rule too
// (a key that stays itself, a hotkey or middle button that does nothing in that program).
bool CopyRuleSections(const std::string& ruleFile, const std::string& file) {
  bool written = true;
  std::vector<std::string> sections(kExportedRuleSections.begin(), kExportedRuleSections.end());
  for (std::string& program : ProgramSectionsOf(
           CUtilityLib::Get().ProgramNames(), CUtilityLib::Get().Profiles().SectionNames(ruleFile),
           {kExportedRuleSections.begin(), kExportedRuleSections.end()})) {
    sections.push_back(std::move(program));
  }
  for (const std::string& section : sections) {
    for (const std::string& line : CUtilityLib::GetWholeProfileSection(section, ruleFile)) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      written &= CUtilityLib::WritePrivateProfileStringA(section, line.substr(0, equals),
                                                         line.substr(equals + 1), file);
    }
  }
  return written;
}

}  // namespace

void Export(DialogHost& window, const std::string& ruleFile) {
  std::string chosen;
  if (!CUtilityLib::SelectSaveFile(chosen, kExportTitle, kFilter, window.Window())) return;
  const std::string file = WithSettingsExtension(chosen);
  Services& services = CUtilityLib::Get();
  if (CUtilityLib::IsFile(file)) {
    const int answer = services.MessageBox(window.Window(), kOverwriteQuestion, kExportTitle,
                                           message_box::kYesNo | message_box::kIconQuestion);
    if (answer != message_box::kIdYes) return;
    // Nothing of the old file may survive among the new keys.
    if (!services.DeleteFileAt(file)) {
      services.MessageBox(window.Window(), kExportFailed + file, kExportTitle,
                          message_box::kOk | message_box::kIconExclamation);
      return;
    }
  }
  const bool optionsWritten = WriteOptions(window, file);
  const bool rulesWritten = CopyRuleSections(ruleFile, file);
  if (!optionsWritten || !rulesWritten) {
    services.MessageBox(window.Window(), kExportFailed + file, kExportTitle,
                        message_box::kOk | message_box::kIconExclamation);
  }
}

}  // namespace settings_file
