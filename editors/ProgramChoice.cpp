#include "editors/ProgramChoice.h"

#include <algorithm>
#include <utility>

#include "common/ProgramNames.h"
#include "editors/CProgramPickDlg.h"
#include "editors/ProgramSections.h"
#include "ui/CUtilityLib.h"

void ProgramChoice::Fill(DialogHost& host, std::vector<std::string> programs) {
  programs_ = std::move(programs);
  current_.clear();
  Show(host);
}

std::optional<std::string> ProgramChoice::OnPicked(DialogHost& host) {
  const int picked = host.ComboSelection(kCombo);
  std::string program;
  if (picked == static_cast<int>(programs_.size()) + 1) {
    CProgramPickDlg pick;
    if (pick.DoModal() != dialog_message::kIdOk) {
      host.ComboSelect(kCombo, *EntryOf(current_));
      return std::nullopt;
    }
    program = pick.Program();
  } else if (picked > 0 && picked <= static_cast<int>(programs_.size())) {
    program = programs_[static_cast<std::size_t>(picked - 1)];
  }
  const bool same = SameProgramName(CUtilityLib::Get().ProgramNames(), program, current_);
  Choose(host, program);
  if (same) return std::nullopt;
  return current_;
}

// The list is filled anew only when a program joins it.
void ProgramChoice::Choose(DialogHost& host, const std::string& program) {
  const bool joins = !EntryOf(program).has_value();
  if (joins) {
    const auto place = std::find_if(programs_.begin(), programs_.end(), [&](const std::string& p) {
      return ProgramNameLess(CUtilityLib::Get().ProgramNames(), program, p);
    });
    programs_.insert(place, program);
  }
  const int entry = *EntryOf(program);
  current_ = entry == 0 ? "" : programs_[static_cast<std::size_t>(entry - 1)];
  if (joins) {
    Show(host);
  } else {
    host.ComboSelect(kCombo, entry);
  }
}

std::optional<int> ProgramChoice::EntryOf(const std::string& program) const {
  if (program.empty()) return 0;
  for (std::size_t i = 0; i < programs_.size(); ++i) {
    if (SameProgramName(CUtilityLib::Get().ProgramNames(), programs_[i], program)) {
      return static_cast<int>(i + 1);
    }
  }
  return std::nullopt;
}

void ProgramChoice::Show(DialogHost& host) {
  host.ComboClear(kCombo);
  host.ComboAddItem(kCombo, kAllPrograms);
  for (const std::string& program : programs_) host.ComboAddItem(kCombo, program);
  host.ComboAddItem(kCombo, kAddProgram);
  host.ComboSelect(kCombo, *EntryOf(current_));
}
