#include "editors/CRuleListDlg.h"

#include "ui/CUtilityLib.h"

CRuleListDlg::CRuleListDlg(int templateId, const char* duplicateQuestion)
    : CResizeDlg(templateId, 0), duplicateQuestion_(duplicateQuestion) {
  OnCommand(kAdd, [this] { Add(); });
  OnCommand(kEdit, [this] { Edit(); });
  OnCommand(kDelete, [this] { Delete(); });
  OnControlNotify(kList, control_notification::kDoubleClick, [this](const ControlNotification&) {
    Edit();
    return 0;
  });
}

bool CRuleListDlg::OnInitDialog() {
  SizeXYRate(kList, 100, 100);
  MoveXYRate(kAdd, 0, 100);
  MoveXYRate(kDelete, 0, 100);
  MoveXYRate(dialog_message::kIdOk, 100, 100);
  MoveXYRate(dialog_message::kIdCancel, 100, 100);
  list_.Attach(Host(), kList);
  ShowColumns();
  Load();
  return true;
}

// Every selected row goes, and its rule leaves the file at once, without a question.
void CRuleListDlg::Delete() {
  int row = -1;
  while ((row = list_.GetNextSelectedIndex(row)) >= 0) {
    DeleteRule(EntryOfRow(row));
    list_.DeleteItem(row);
    --row;  // the row that moved into its place is looked at next
  }
}

void CRuleListDlg::OnOK() {
  std::vector<std::size_t> indexes;
  for (int row = 0; row < list_.GetItemCount(); ++row) indexes.push_back(EntryOfRow(row));
  WriteRules(indexes);
  CResizeDlg::OnOK();
}

int CRuleListDlg::FindRow(const std::function<bool(std::size_t)>& matches, int except) const {
  for (int row = 0; row < list_.GetItemCount(); ++row) {
    if (row != except && matches(EntryOfRow(row))) return row;
  }
  return -1;
}

// Two rows for one key would leave OK writing only one of them, so Add and Edit alike ask.
bool CRuleListDlg::ReplaceDuplicate(int duplicate, int& row) {
  if (duplicate < 0) return true;
  const int answer =
      CUtilityLib::Get().MessageBox(Host().Window(), duplicateQuestion_, kDuplicateCaption,
                                    message_box::kYesNo | message_box::kIconQuestion);
  if (answer != message_box::kIdYes) return false;
  list_.DeleteItem(duplicate);
  if (duplicate < row) --row;
  return true;
}
