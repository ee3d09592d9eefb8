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
    : CRuleListDlg(kTemplateId, std::move(ruleFile), kHotkeySection, kDuplicateQuestion) {
  // Only the Delete key deletes: arrows, Tab or a letter typed to find a row must not.
  OnControlNotify(kList, control_notification::kListKeyDown,
                  [this](const ControlNotification& notification) {
                    if (notification.virtualKey == kDeleteKey) Delete();
                    return 0;
                  });
}

void CHotkeyListDlg::ShowColumns() {
  list_.InsertColumn("HOTKEY", kHotkeyColumnWidth);
  list_.InsertColumn("실행 키 또는 프로그램", kActionColumnWidth);
  list_.SetPathColumn(1);
  list_.AdjustColumnWidth(1);
}

std::optional<std::size_t> CHotkeyListDlg::LoadLine(const std::string& line, std::size_t) {
  std::optional<HotkeyEntry> entry = ParseHotkeyLine(line, ForProgram());
  if (!entry) return std::nullopt;
  store_.push_back(std::move(*entry));
  return store_.size() - 1;
}

std::string CHotkeyListDlg::LineOf(std::size_t index) const {
  return HotkeyLine(store_[index]);
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
  return FindRow([&](std::size_t index) { return SameHotkey(store_[index], entry); }, except);
}

bool CHotkeyListDlg::Add() {
  CHotkeyDlg editor;
  editor.SetForProgram(ForProgram());
  if (editor.DoModal() != dialog_message::kIdOk) return false;
  const HotkeyEntry& entry = editor.Result();
  if (SendsItself(entry)) {
    CUtilityLib::Get().MessageBox(Host().Window(), kSameKey, kAppTitle, message_box::kOk);
    return false;
  }
  int noRow = -1;
  if (!ReplaceDuplicate(FindHotkey(entry, -1), noRow)) return false;
  store_.push_back(entry);
  AppendRow(store_.size() - 1);
  return true;
}

bool CHotkeyListDlg::Edit() {
  const std::intptr_t index = list_.GetSelectedDBIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= store_.size()) return false;
  CHotkeyDlg editor;
  editor.SetForProgram(ForProgram());
  editor.SetEntry(store_[static_cast<std::size_t>(index)]);
  if (editor.DoModal() != dialog_message::kIdOk) return false;
  int row = list_.GetSelectedIndex();
  if (!ReplaceDuplicate(FindHotkey(editor.Result(), row), row)) return false;
  HotkeyEntry& entry = store_[static_cast<std::size_t>(index)];
  entry = editor.Result();
  ShowRow(row, entry);
  return true;
}
