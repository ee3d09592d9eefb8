#include "editors/CKeyChangeListDlg.h"

#include <utility>

#include "common/TextCase.h"
#include "editors/CKeyChangeDlg.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kAppTitle = "Tastron";
constexpr int kFromColumnWidth = 150;
constexpr int kToColumnWidth = 10000;

}  // namespace

CKeyChangeListDlg::CKeyChangeListDlg(std::string ruleFile)
    : CRuleListDlg(kTemplateId, std::move(ruleFile), {kTapHoldSection, kKeyChangeSection},
                   kDuplicateQuestion) {}

void CKeyChangeListDlg::ShowColumns() {
  list_.InsertColumn("누름 키", kFromColumnWidth);
  list_.InsertColumn("새 키", kToColumnWidth);
  list_.AdjustColumnWidth(1);
}

std::optional<std::size_t> CKeyChangeListDlg::LoadLine(const std::string& line, std::size_t kind) {
  std::optional<KeyChangeEntry> entry = kind == kTapHoldKind
                                            ? ParseTapHoldLine(line, ForProgram())
                                            : ParseKeyChangeLine(line, ForProgram());
  if (!entry) return std::nullopt;
  store_.push_back(std::move(*entry));
  return store_.size() - 1;
}

std::string CKeyChangeListDlg::LineOf(std::size_t index) const {
  return KeyChangeLine(store_[index]);
}

std::size_t CKeyChangeListDlg::KindOf(std::size_t index) const {
  return store_[index].TapHold ? kTapHoldKind : kKeyChangeKind;
}

bool CKeyChangeListDlg::ClaimsKey(const std::string& line, bool forProgram) const {
  return forProgram || !TrimBlanks(std::string_view(line).substr(line.find('=') + 1)).empty();
}

void CKeyChangeListDlg::AppendRow(std::size_t index) {
  const KeyChangeEntry& entry = store_[index];
  const int row = list_.InsertItem(list_.GetItemCount(), entry.FromName);
  list_.SetItemText(row, 1, NewKeyText(entry));
  list_.SetItemData(row, static_cast<std::intptr_t>(index));
}

int CKeyChangeListDlg::FindFrom(KeyCodePair from, int except) const {
  return FindRow([&](std::size_t index) { return store_[index].From() == from; }, except);
}

namespace {

// A key that stays itself when tapped gives itself on a tap.
KeyChangeEntry EntryOf(const CKeyChangeDlg& editor) {
  if (editor.TapHold()) {
    const KeyCodePair tap = editor.KeepsOriginal() ? editor.From() : editor.To();
    return MakeTapHoldEntry(editor.From(), tap, editor.Hold(), editor.HoldMs());
  }
  return editor.KeepsOriginal() ? MakeOriginalKeyEntry(editor.From())
                                : MakeKeyChangeEntry(editor.From(), editor.To());
}

// A key mapped onto itself; a tap-hold one only when its hold gives the key too, since a tap
// that stays the key itself with a hold that differs is a rule of its own.
bool ChangesNothing(const KeyChangeEntry& entry) {
  if (entry.KeepsOriginal || entry.From() != entry.To()) return false;
  return !entry.TapHold || entry.From() == entry.Hold();
}

}  // namespace

bool CKeyChangeListDlg::Add() {
  CKeyChangeDlg editor;
  editor.SetForProgram(ForProgram());
  if (editor.DoModal() != dialog_message::kIdOk) return false;
  KeyChangeEntry entry = EntryOf(editor);
  if (ChangesNothing(entry)) {
    CUtilityLib::Get().MessageBox(Host().Window(), kSameKey, kAppTitle, message_box::kOk);
    return false;
  }
  int noRow = -1;
  if (!ReplaceDuplicate(FindFrom(entry.From(), -1), noRow)) return false;
  store_.push_back(std::move(entry));
  AppendRow(store_.size() - 1);
  list_.AdjustColumnWidth(1);
  return true;
}

bool CKeyChangeListDlg::Edit() {
  const std::intptr_t index = list_.GetSelectedDBIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= store_.size()) return false;
  CKeyChangeDlg editor;
  editor.SetForProgram(ForProgram());
  editor.SetEntry(store_[static_cast<std::size_t>(index)]);
  if (editor.DoModal() != dialog_message::kIdOk) return false;
  int row = list_.GetSelectedIndex();
  if (!ReplaceDuplicate(FindFrom(editor.From(), row), row)) return false;
  KeyChangeEntry& entry = store_[static_cast<std::size_t>(index)];
  entry = EntryOf(editor);
  list_.SetItemText(row, 0, entry.FromName);
  list_.SetItemText(row, 1, NewKeyText(entry));
  return true;
}
