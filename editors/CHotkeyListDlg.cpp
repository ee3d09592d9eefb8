#include "editors/CHotkeyListDlg.h"

#include <utility>

#include "editors/CHotkeyDlg.h"
#include "editors/HotkeySection.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kAppTitle = "Tastron";
constexpr int kHotkeyColumnWidth = 150;
constexpr int kActionColumnWidth = 1024;
constexpr int kDeleteKey = 0x2E;  // VK_DELETE

bool SameHotkey(const HotkeyEntry& a, const HotkeyEntry& b) {
  return a.Key == b.Key && a.KeyModifiers == b.KeyModifiers;
}

}  // namespace

CHotkeyListDlg::CHotkeyListDlg(std::string ruleFile)
    : CResizeDlg(kTemplateId, 0), ruleFile_(std::move(ruleFile)) {
  OnCommand(kAdd, [this] { Add(); });
  OnCommand(kEdit, [this] { Edit(); });
  OnCommand(kDelete, [this] { Delete(); });
  OnControlNotify(kList, control_notification::kDoubleClick, [this](const ControlNotification&) {
    Edit();
    return 0;
  });
  // Only the Delete key deletes: arrows, Tab or a letter typed to find a row must not.
  OnControlNotify(kList, control_notification::kListKeyDown,
                  [this](const ControlNotification& notification) {
                    if (notification.virtualKey == kDeleteKey) Delete();
                    return 0;
                  });
}

bool CHotkeyListDlg::OnInitDialog() {
  SizeXYRate(kList, 100, 100);
  MoveXYRate(kAdd, 0, 100);
  MoveXYRate(kDelete, 0, 100);
  MoveXYRate(dialog_message::kIdOk, 100, 100);
  MoveXYRate(dialog_message::kIdCancel, 100, 100);
  list_.Attach(Host(), kList);
  list_.InsertColumn("HOTKEY", kHotkeyColumnWidth);
  list_.InsertColumn("실행 키 또는 프로그램", kActionColumnWidth);
  list_.SetPathColumn(1);
  list_.AdjustColumnWidth(1);
  Load();
  return true;
}

void CHotkeyListDlg::Load() {
  for (HotkeyEntry& entry : ReadHotkeySection(ruleFile_)) {
    store_.push_back(std::move(entry));
    AppendRow(store_.size() - 1);
  }
}

void CHotkeyListDlg::ShowRow(int row, const HotkeyEntry& entry) {
  list_.SetItemText(row, 0, entry.KeyText);
  list_.SetItemText(row, 1, ActionText(entry));
}

void CHotkeyListDlg::AppendRow(std::size_t index) {
  const int row = list_.InsertItem(list_.GetItemCount(), store_[index].KeyText);
  ShowRow(row, store_[index]);
  list_.SetItemData(row, static_cast<std::intptr_t>(index));
}

int CHotkeyListDlg::FindHotkey(const HotkeyEntry& entry, int except) const {
  for (int row = 0; row < list_.GetItemCount(); ++row) {
    if (row == except) continue;
    if (SameHotkey(store_[static_cast<std::size_t>(list_.GetItemData(row))], entry)) return row;
  }
  return -1;
}

bool CHotkeyListDlg::MayReplace() {
  return CUtilityLib::Get().MessageBox(Host().Window(), kDuplicateQuestion, kDuplicateCaption,
                                       message_box::kYesNo | message_box::kIconQuestion) ==
         message_box::kIdYes;
}

void CHotkeyListDlg::Add() {
  CHotkeyDlg editor;
  if (editor.DoModal() != dialog_message::kIdOk) return;
  const HotkeyEntry& entry = editor.Result();
  if (SendsItself(entry)) {
    CUtilityLib::Get().MessageBox(Host().Window(), kSameKey, kAppTitle, message_box::kOk);
    return;
  }
  if (const int duplicate = FindHotkey(entry, -1); duplicate >= 0) {
    if (!MayReplace()) return;
    list_.DeleteItem(duplicate);
  }
  store_.push_back(entry);
  AppendRow(store_.size() - 1);
}

// Editing a row into the hotkey of another row would leave two rows of which OK writes only
// one; so Edit asks the same question as Add, and Yes removes the other row.
void CHotkeyListDlg::Edit() {
  const std::intptr_t index = list_.GetSelectedDBIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= store_.size()) return;
  CHotkeyDlg editor;
  editor.SetEntry(store_[static_cast<std::size_t>(index)]);
  if (editor.DoModal() != dialog_message::kIdOk) return;
  int row = list_.GetSelectedIndex();
  if (const int duplicate = FindHotkey(editor.Result(), row); duplicate >= 0) {
    if (!MayReplace()) return;
    list_.DeleteItem(duplicate);
    if (duplicate < row) --row;
  }
  HotkeyEntry& entry = store_[static_cast<std::size_t>(index)];
  entry = editor.Result();
  ShowRow(row, entry);
}

// Every selected row goes, and its rule leaves the file at once, without a question.
void CHotkeyListDlg::Delete() {
  int row = -1;
  while ((row = list_.GetNextSelectedIndex(row)) >= 0) {
    DeleteHotkey(ruleFile_, store_[static_cast<std::size_t>(list_.GetItemData(row))]);
    list_.DeleteItem(row);
    --row;  // the row that moved into its place is looked at next
  }
}

void CHotkeyListDlg::OnOK() {
  std::vector<const HotkeyEntry*> rules;
  for (int row = 0; row < list_.GetItemCount(); ++row) {
    rules.push_back(&store_[static_cast<std::size_t>(list_.GetItemData(row))]);
  }
  WriteHotkeySection(ruleFile_, rules);
  CResizeDlg::OnOK();
}
