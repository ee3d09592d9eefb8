#include "editors/CRuleListDlg.h"

#include <set>
#include <utility>

#include "editors/RuleFileWrite.h"
#include "ui/CUtilityLib.h"

CRuleListDlg::CRuleListDlg(int templateId, std::string ruleFile, const char* section,
                           const char* duplicateQuestion)
    : CResizeDlg(templateId, 0),
      ruleFile_(std::move(ruleFile)),
      section_(section),
      duplicateQuestion_(duplicateQuestion) {
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

// Only the first line of a key counts for the library, so only that one can be a row: a later
// line of the same key is kept as it stands, where it stands.
void CRuleListDlg::Load() {
  const std::vector<std::string> lines = CUtilityLib::GetWholeProfileSection(section_, ruleFile_);
  std::set<std::string> keys;
  for (std::size_t place = 0; place < lines.size(); ++place) {
    const std::string key = LineKey(lines[place]);
    std::optional<std::size_t> index;
    if (keys.insert(key).second) index = LoadLine(lines[place]);
    if (index) {
      readFrom_[*index] = {place, lines[place].substr(0, lines[place].find('='))};
    } else {
      kept_.push_back({place, lines[place]});
    }
  }
  Loaded();
}

// Every selected row goes, and the line it was read from leaves the file at once, without a
// question: the line of the key it had when the list opened, whatever Edit made of it since. A
// row added since has nothing in the file yet.
void CRuleListDlg::Delete() {
  int row = -1;
  while ((row = list_.GetNextSelectedIndex(row)) >= 0) {
    const auto read = readFrom_.find(EntryOfRow(row));
    if (read != readFrom_.end() &&
        !DeleteRuleKey(Host().Window(), ruleFile_, section_, read->second.key)) {
      return;
    }
    list_.DeleteItem(row);
    --row;  // the row that moved into its place is looked at next
  }
}

void CRuleListDlg::OnOK() {
  std::vector<RowLine> rows;
  for (int row = 0; row < list_.GetItemCount(); ++row) {
    const std::size_t index = EntryOfRow(row);
    const auto read = readFrom_.find(index);
    rows.push_back({LineOf(index),
                    read == readFrom_.end() ? std::nullopt : std::optional(read->second.place)});
  }
  if (!WriteRuleSection(Host().Window(), ruleFile_, {section_, ArrangeSectionLines(rows, kept_)})) {
    return;
  }
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
