#include "editors/CKeyChangeListDlg.h"

#include <utility>

#include "editors/CKeyChangeDlg.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kAppTitle = "Tastron";
constexpr int kFromColumnWidth = 150;
constexpr int kToColumnWidth = 10000;

}  // namespace

CKeyChangeListDlg::CKeyChangeListDlg(std::string ruleFile)
    : CResizeDlg(kTemplateId, 0), ruleFile_(std::move(ruleFile)) {
  OnCommand(kAdd, [this] { Add(); });
  OnCommand(kEdit, [this] { Edit(); });
  OnCommand(kDelete, [this] { Delete(); });
  OnControlNotify(kList, control_notification::kDoubleClick, [this](const ControlNotification&) {
    Edit();
    return 0;
  });
}

bool CKeyChangeListDlg::OnInitDialog() {
  SizeXYRate(kList, 100, 100);
  MoveXYRate(kAdd, 0, 100);
  MoveXYRate(kDelete, 0, 100);
  MoveXYRate(dialog_message::kIdOk, 100, 100);
  MoveXYRate(dialog_message::kIdCancel, 100, 100);
  list_.Attach(Host(), kList);
  list_.InsertColumn("누름 키", kFromColumnWidth);
  list_.InsertColumn("새 키", kToColumnWidth);
  list_.AdjustColumnWidth(1);
  Load();
  return true;
}

void CKeyChangeListDlg::Load() {
  KeyChangeSection section = ReadKeyChangeSection(ruleFile_);
  kept_ = std::move(section.kept);
  for (std::size_t i = 0; i < section.entries.size(); ++i) {
    store_.push_back(std::move(section.entries[i]));
    storeLines_.push_back(section.entryLines[i]);
    AppendRow(store_.size() - 1);
  }
  list_.AdjustColumnWidth(1);
}

void CKeyChangeListDlg::AppendRow(std::size_t index) {
  const KeyChangeEntry& entry = store_[index];
  const int row = list_.InsertItem(list_.GetItemCount(), entry.FromName);
  list_.SetItemText(row, 1, entry.ToName);
  list_.SetItemData(row, static_cast<std::intptr_t>(index));
}

int CKeyChangeListDlg::FindFrom(KeyCodePair from, int except) const {
  for (int row = 0; row < list_.GetItemCount(); ++row) {
    if (row == except) continue;
    if (store_[static_cast<std::size_t>(list_.GetItemData(row))].From() == from) return row;
  }
  return -1;
}

bool CKeyChangeListDlg::MayReplace() {
  return CUtilityLib::Get().MessageBox(Host().Window(), kDuplicateQuestion, kDuplicateCaption,
                                       message_box::kYesNo | message_box::kIconQuestion) ==
         message_box::kIdYes;
}

void CKeyChangeListDlg::Add() {
  CKeyChangeDlg editor;
  if (editor.DoModal() != dialog_message::kIdOk) return;
  KeyChangeEntry entry = MakeKeyChangeEntry(editor.From(), editor.To());
  if (entry.From() == entry.To()) {
    CUtilityLib::Get().MessageBox(Host().Window(), kSameKey, kAppTitle, message_box::kOk);
    return;
  }
  if (const int duplicate = FindFrom(entry.From(), -1); duplicate >= 0) {
    if (!MayReplace()) return;
    list_.DeleteItem(duplicate);
  }
  store_.push_back(std::move(entry));
  storeLines_.push_back(std::nullopt);
  AppendRow(store_.size() - 1);
  list_.AdjustColumnWidth(1);
}

// Editing a row into the From pair of another row would leave two rows of which OK writes only
// one; so Edit asks the same question as Add, and Yes removes the other row.
void CKeyChangeListDlg::Edit() {
  const std::intptr_t index = list_.GetSelectedDBIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= store_.size()) return;
  CKeyChangeDlg editor;
  editor.SetEntry(store_[static_cast<std::size_t>(index)]);
  if (editor.DoModal() != dialog_message::kIdOk) return;
  int row = list_.GetSelectedIndex();
  if (const int duplicate = FindFrom(editor.From(), row); duplicate >= 0) {
    if (!MayReplace()) return;
    list_.DeleteItem(duplicate);
    if (duplicate < row) --row;
  }
  KeyChangeEntry& entry = store_[static_cast<std::size_t>(index)];
  entry = MakeKeyChangeEntry(editor.From(), editor.To());
  list_.SetItemText(row, 0, entry.FromName);
  list_.SetItemText(row, 1, entry.ToName);
}

// Every selected row goes, and its entry leaves the file at once, without a question.
void CKeyChangeListDlg::Delete() {
  int row = -1;
  while ((row = list_.GetNextSelectedIndex(row)) >= 0) {
    const auto index = static_cast<std::size_t>(list_.GetItemData(row));
    DeleteKeyChange(ruleFile_, store_[index].From());
    list_.DeleteItem(row);
    --row;  // the row that moved into its place is looked at next
  }
}

void CKeyChangeListDlg::OnOK() {
  std::vector<KeyChangeRow> rows;
  for (int row = 0; row < list_.GetItemCount(); ++row) {
    const auto index = static_cast<std::size_t>(list_.GetItemData(row));
    rows.push_back({&store_[index], storeLines_[index]});
  }
  WriteKeyChangeSection(ruleFile_, rows, kept_);
  CResizeDlg::OnOK();
}
