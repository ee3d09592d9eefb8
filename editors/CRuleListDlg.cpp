#include "editors/CRuleListDlg.h"

#include <set>
#include <utility>

#include "common/ProgramNames.h"
#include "editors/RuleFileWrite.h"
#include "ui/CUtilityLib.h"

CRuleListDlg::CRuleListDlg(int templateId, std::string ruleFile, const char* kind,
                           const char* duplicateQuestion)
    : CResizeDlg(templateId, 0),
      ruleFile_(std::move(ruleFile)),
      kind_(kind),
      duplicateQuestion_(duplicateQuestion) {
  OnCommand(kAdd, [this] { pages_[shown_].changed |= Add(); });
  OnCommand(kEdit, [this] { pages_[shown_].changed |= Edit(); });
  OnCommand(kDelete, [this] { Delete(); });
  OnControlNotify(kList, control_notification::kDoubleClick, [this](const ControlNotification&) {
    pages_[shown_].changed |= Edit();
    return 0;
  });
  OnNotify(kProgramChoice, dialog_message::kComboSelectionDone, [this] {
    if (const auto program = programs_.OnPicked(Host())) Show(*program);
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
  programs_.Fill(
      Host(), ProgramsWithSections(CUtilityLib::Get().ProgramNames(),
                                   CUtilityLib::Get().Profiles().SectionNames(ruleFile_), kind_));
  pages_.push_back({"", {}, {}, {}, false});
  Load(pages_.front());
  Loaded();
  return true;
}

// A page is read once, when it is first shown; afterwards its rows come back as the user left
// them.
void CRuleListDlg::Show(const std::string& program) {
  KeepRows();
  while (list_.GetItemCount() > 0) list_.DeleteItem(list_.GetItemCount() - 1);
  std::size_t page = 0;
  while (page < pages_.size() &&
         !SameProgramName(CUtilityLib::Get().ProgramNames(), pages_[page].program, program))
    ++page;
  shown_ = page;
  if (page == pages_.size()) {
    pages_.push_back({program, {}, {}, {}, false});
    Load(pages_.back());
  } else {
    for (std::size_t index : pages_[page].rows) AppendRow(index);
  }
  Loaded();
}

void CRuleListDlg::KeepRows() {
  Page& page = pages_[shown_];
  page.rows.clear();
  for (int row = 0; row < list_.GetItemCount(); ++row) page.rows.push_back(EntryOfRow(row));
}

// Only the first line of a key counts for the library, so only that one can be a row: a later
// line of the same key is kept as it stands, where it stands.
void CRuleListDlg::Load(Page& page) {
  const std::vector<std::string> lines =
      CUtilityLib::GetWholeProfileSection(SectionOf(page), ruleFile_);
  std::set<std::string> keys;
  for (std::size_t place = 0; place < lines.size(); ++place) {
    const std::string key = LineKey(lines[place]);
    std::optional<std::size_t> index;
    if (keys.insert(key).second) index = LoadLine(lines[place]);
    if (index) {
      AppendRow(*index);
      page.readFrom[*index] = {place, lines[place].substr(0, lines[place].find('='))};
    } else {
      page.kept.push_back({place, lines[place]});
    }
  }
}

// Every selected row goes, and the line it was read from leaves the file at once, without a
// question: the line of the key it had when the list opened, whatever Edit made of it since. A
// row added since has nothing in the file yet. A program's section left without a line goes
// with its last one, so that a Cancel after it leaves no empty section, which would still count
// as a program with rules.
void CRuleListDlg::Delete() {
  Page& page = pages_[shown_];
  int row = -1;
  bool deleted = false;
  while ((row = list_.GetNextSelectedIndex(row)) >= 0) {
    const auto read = page.readFrom.find(EntryOfRow(row));
    if (read != page.readFrom.end()) {
      if (!DeleteRuleKey(Host().Window(), ruleFile_, SectionOf(page), read->second.key)) return;
      deleted = true;
    }
    list_.DeleteItem(row);
    page.changed = true;
    --row;  // the row that moved into its place is looked at next
  }
  if (deleted && !page.program.empty() &&
      CUtilityLib::GetWholeProfileSection(SectionOf(page), ruleFile_).empty()) {
    WriteRuleSection(Host().Window(), ruleFile_, {SectionOf(page), {}});
  }
}

std::vector<std::string> CRuleListDlg::LinesOf(const Page& page) const {
  std::vector<RowLine> rows;
  for (std::size_t index : page.rows) {
    const auto read = page.readFrom.find(index);
    rows.push_back({LineOf(index), read == page.readFrom.end()
                                       ? std::nullopt
                                       : std::optional(read->second.place)});
  }
  return ArrangeSectionLines(rows, page.kept);
}

// The rules for all programs are written as they always were; a program's section only when
// its rows changed, so that a program the user merely looked at keeps its file lines as they
// stand.
void CRuleListDlg::OnOK() {
  KeepRows();
  std::vector<SectionLines> sections;
  for (const Page& page : pages_) {
    if (page.program.empty() || page.changed) sections.push_back({SectionOf(page), LinesOf(page)});
  }
  if (!WriteRuleSections(Host().Window(), ruleFile_, std::move(sections))) return;
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
