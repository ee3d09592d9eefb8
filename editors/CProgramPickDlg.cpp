#include "editors/CProgramPickDlg.h"

#include "common/TextCase.h"
#include "editors/ProgramSections.h"
#include "ui/CUtilityLib.h"

namespace {
constexpr int kProgramColumnWidth = 120;
constexpr int kTitleColumnWidth = 230;
}  // namespace

CProgramPickDlg::CProgramPickDlg() : CResizeDlg(kTemplateId, 0) {
  OnControlNotify(kRunning, control_notification::kItemChanged, [this](const ControlNotification&) {
    TakeSelectedRow();
    return 0;
  });
  OnControlNotify(kRunning, control_notification::kDoubleClick, [this](const ControlNotification&) {
    TakeSelectedRow();
    if (Host().ListSelectedRow(kRunning) >= 0) OnOK();
    return 0;
  });
  OnCommand(kBrowse, [this] { Browse(); });
}

bool CProgramPickDlg::OnInitDialog() {
  list_.Attach(Host(), kRunning);
  list_.InsertColumn(kProgramColumn, kProgramColumnWidth);
  list_.InsertColumn(kTitleColumn, kTitleColumnWidth);
  running_ = CUtilityLib::Get().RunningPrograms();
  for (const RunningProgram& running : running_) {
    const int row = list_.InsertItem(list_.GetItemCount(), running.program);
    list_.SetItemText(row, 1, running.title);
  }
  return true;
}

void CProgramPickDlg::TakeSelectedRow() {
  const int row = Host().ListSelectedRow(kRunning);
  if (row >= 0 && static_cast<std::size_t>(row) < running_.size()) {
    Host().SetText(kName, running_[static_cast<std::size_t>(row)].program);
  }
}

// A program file found: its file name goes into the box, as if the user had typed it.
void CProgramPickDlg::Browse() {
  std::string path;
  if (CUtilityLib::SelectFile(path, kChooseTitle, kChooseFilter, Host().Window())) {
    Host().SetText(kName, ProgramOfPath(path));
  }
}

// A typed path counts by its file name; a name that cannot name a section, or that the code
// page cannot hold, is refused and the dialog stays open.
void CProgramPickDlg::OnOK() {
  const std::string program = ProgramOfPath(std::string(TrimBlanks(Host().Text(kName))));
  const auto tell = [this](const std::string& text) {
    CUtilityLib::Get().MessageBox(Host().Window(), text, "Tastron",
                                  message_box::kOk | message_box::kIconExclamation);
  };
  if (program.empty()) return tell(kNoName);
  // The rule file is written in the ANSI code page: a name it cannot hold would be written as
  // another one, whose rules no program ever gets.
  const bool storable = CUtilityLib::Get().TextForAnsiCodePage(program) == program;
  if (!CanNameSection(program) || !storable) return tell(kUnusableName + program);
  program_ = program;
  CResizeDlg::OnOK();
}
