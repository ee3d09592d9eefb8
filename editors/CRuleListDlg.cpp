#include "editors/CRuleListDlg.h"

#include <set>
#include <utility>

#include "common/ProgramNames.h"
#include "editors/RuleFileWrite.h"
#include "ui/CUtilityLib.h"

CRuleListDlg::CRuleListDlg(int templateId, std::string ruleFile, const char* kind,
                           const char* duplicateQuestion)
    : CRuleListDlg(templateId, std::move(ruleFile), std::vector{kind}, duplicateQuestion) {}

CRuleListDlg::CRuleListDlg(int templateId, std::string ruleFile, std::vector<const char*> kinds,
                           const char* duplicateQuestion)
    : CResizeDlg(templateId, 0),
      ruleFile_(std::move(ruleFile)),
      kinds_(std::move(kinds)),
      duplicateQuestion_(duplicateQuestion) {
  OnCommand(kAdd, [this] { pages_[shown_].changed |= Add(); });
  OnCommand(kEdit, [this] { EditSelected(); });
  OnCommand(kDelete, [this] { Delete(); });
  OnControlNotify(kList, control_notification::kDoubleClick, [this](const ControlNotification&) {
    EditSelected();
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
  programs_.Fill(Host(),
                 ProgramsWithSections(CUtilityLib::Get().ProgramNames(),
                                      CUtilityLib::Get().Profiles().SectionNames(ruleFile_),
                                      std::vector<std::string_view>(kinds_.begin(), kinds_.end())));
  pages_.push_back(NewPage(""));
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
    pages_.push_back(NewPage(program));
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

void CRuleListDlg::EditSelected() {
  const std::intptr_t index = list_.GetSelectedDBIndex();
  if (!Edit()) return;
  pages_[shown_].changed = true;
  pages_[shown_].setAnew.insert(static_cast<std::size_t>(index));
}

CRuleListDlg::Page CRuleListDlg::NewPage(std::string program) const {
  Page page;
  page.program = std::move(program);
  page.kept.resize(kinds_.size());
  return page;
}

// Only the first line of a key counts for the library, so only that one can be a row: a later
// line of the same key, in its section or in one read after a section whose line the library
// took as the key's rule, is kept as it stands, where it stands.
void CRuleListDlg::Load(Page& page) {
  std::set<std::string> claimed;  // by the sections read before
  for (std::size_t kind = 0; kind < kinds_.size(); ++kind) {
    const std::vector<std::string> lines =
        CUtilityLib::GetWholeProfileSection(SectionOf(page, kind), ruleFile_);
    std::set<std::string> keys;
    std::set<std::string> claiming;
    for (std::size_t place = 0; place < lines.size(); ++place) {
      const std::string key = LineKey(lines[place]);
      std::optional<std::size_t> index;
      const bool first = keys.insert(key).second;
      if (first && claimed.count(key) == 0) index = LoadLine(lines[place], kind);
      if (first && ClaimsKey(lines[place], !page.program.empty())) claiming.insert(key);
      if (index) {
        AppendRow(*index);
        page.readFrom[*index] = {kind, place, lines[place].substr(0, lines[place].find('='))};
      } else {
        page.kept[kind].push_back({place, lines[place]});
      }
    }
    claimed.insert(claiming.begin(), claiming.end());
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
  std::set<std::size_t> deletedFrom;  // kinds
  while ((row = list_.GetNextSelectedIndex(row)) >= 0) {
    const auto read = page.readFrom.find(EntryOfRow(row));
    if (read != page.readFrom.end()) {
      const std::size_t kind = read->second.kind;
      if (!DeleteRuleKey(Host().Window(), ruleFile_, SectionOf(page, kind), read->second.key)) {
        return;
      }
      deletedFrom.insert(kind);
    }
    list_.DeleteItem(row);
    page.changed = true;
    --row;  // the row that moved into its place is looked at next
  }
  if (page.program.empty()) return;
  std::vector<SectionLines> emptied;
  for (std::size_t kind : deletedFrom) {
    if (CUtilityLib::GetWholeProfileSection(SectionOf(page, kind), ruleFile_).empty()) {
      emptied.push_back({SectionOf(page, kind), {}});
    }
  }
  if (!emptied.empty()) WriteRuleSections(Host().Window(), ruleFile_, std::move(emptied));
}

// A kept line gives way to a row of the same key in another section when it would hide that
// row (its section is read first), or when the row was added, edited or moved since: the user
// set the rule anew, and the old line would only linger as a rule that never counts.
std::vector<KeptLine> CRuleListDlg::KeptBeside(const Page& page, std::size_t kind) const {
  std::set<std::string> setAnew;    // keys of rows the user set in another section
  std::set<std::string> readAfter;  // keys of rows read from a section read after this one
  for (std::size_t index : page.rows) {
    const std::size_t rowKind = KindOf(index);
    if (rowKind == kind) continue;
    const auto read = page.readFrom.find(index);
    const bool stayed = read != page.readFrom.end() && read->second.kind == rowKind;
    const std::string key = LineKey(LineOf(index));
    if (!stayed || page.setAnew.count(index) != 0) setAnew.insert(key);
    if (kind < rowKind) readAfter.insert(key);
  }
  std::vector<KeptLine> kept;
  for (const KeptLine& line : page.kept[kind]) {
    const std::string key = LineKey(line.text);
    const bool hides = readAfter.count(key) != 0 && ClaimsKey(line.text, !page.program.empty());
    if (!hides && setAnew.count(key) == 0) kept.push_back(line);
  }
  return kept;
}

std::vector<std::string> CRuleListDlg::LinesOf(const Page& page, std::size_t kind) const {
  std::vector<RowLine> rows;
  for (std::size_t index : page.rows) {
    if (KindOf(index) != kind) continue;
    const auto read = page.readFrom.find(index);
    const bool readHere = read != page.readFrom.end() && read->second.kind == kind;
    rows.push_back({LineOf(index), readHere ? std::optional(read->second.place) : std::nullopt});
  }
  return ArrangeSectionLines(rows, KeptBeside(page, kind));
}

// The rules for all programs are written as they always were; a program's section only when
// its rows changed, so that a program the user merely looked at keeps its file lines as they
// stand.
void CRuleListDlg::OnOK() {
  KeepRows();
  std::vector<SectionLines> sections;
  for (const Page& page : pages_) {
    if (!page.program.empty() && !page.changed) continue;
    for (std::size_t kind = 0; kind < kinds_.size(); ++kind) {
      sections.push_back({SectionOf(page, kind), LinesOf(page, kind)});
    }
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
