#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "editors/ProgramChoice.h"
#include "editors/ProgramSections.h"
#include "editors/RuleSectionLines.h"
#include "ui/CResizeDlg.h"
#include "ui/CStyledListCtrl.h"

// The frame the rule lists share: a list of one section's rules with Add, Edit (or a double
// click) and Delete, resizing with the dialog, and above it the program whose rules are shown
// ("모든 프로그램", or one program with its own section). Each row carries the index of its entry
// in the derived dialog's store. The lines the list cannot show are kept and written back in
// their places; Delete takes the selected rows' rules out of the file at once (the lines they
// were read from); the rows of every program are kept while the user switches between them,
// and OK writes the section for all programs and each changed program's section in one step
// (a program's section left empty goes), or says that it could not and stays open with the
// old rules in the file. A list may show several kinds of section on one page, read in their
// order: of two lines for one key on a page only the first read is a row, as for the library.
class CRuleListDlg : public CResizeDlg {
 public:
  static constexpr int kList = 1018;
  static constexpr int kAdd = 4;
  static constexpr int kEdit = 1002;
  static constexpr int kDelete = 5;
  static constexpr int kProgramChoice = ProgramChoice::kCombo;
  static constexpr const char* kDuplicateCaption = "중복 키";

 protected:
  // `kind` names the section for all programs; `duplicateQuestion` asks whether a rule for the
  // same key may be replaced.
  CRuleListDlg(int templateId, std::string ruleFile, const char* kind,
               const char* duplicateQuestion);
  // The same for a list of several kinds of section, in the order the library reads them.
  CRuleListDlg(int templateId, std::string ruleFile, std::vector<const char*> kinds,
               const char* duplicateQuestion);

  bool OnInitDialog() override;
  void OnOK() override;

  virtual void ShowColumns() = 0;
  // Takes a line of the shown program's section of kind `kind` (an index into the kinds) into
  // the store; its store index, or nullopt for a line the list cannot show.
  virtual std::optional<std::size_t> LoadLine(const std::string& line, std::size_t kind) = 0;
  // Appends the store's entry `index` as the last row.
  virtual void AppendRow(std::size_t index) = 0;
  // The line that the store's entry `index` is written as.
  virtual std::string LineOf(std::size_t index) const = 0;
  // The kind of section the store's entry `index` is written to.
  virtual std::size_t KindOf(std::size_t /*index*/) const { return 0; }
  // Whether the library takes this first line of a key in a section (of one program's own:
  // `forProgram`) as the key's rule, so that it never reads the sections after it for that key.
  virtual bool ClaimsKey(const std::string& /*line*/, bool /*forProgram*/) const { return true; }
  // Each true when it changed the rows.
  virtual bool Add() = 0;
  virtual bool Edit() = 0;
  // After the rows were shown.
  virtual void Loaded() {}

  // The rules shown are one program's own, not those for all programs.
  bool ForProgram() const { return !pages_[shown_].program.empty(); }

  void Delete();
  std::size_t EntryOfRow(int row) const { return static_cast<std::size_t>(list_.GetItemData(row)); }
  // The first row other than `except` whose entry `matches`, or -1.
  int FindRow(const std::function<bool(std::size_t)>& matches, int except) const;
  // A new or edited rule for the key of row `duplicate` (-1: none) replaces that row if the
  // user says so; false when not. `row`, the row being edited, follows when rows move up.
  bool ReplaceDuplicate(int duplicate, int& row);

  CStyledListCtrl list_;

 private:
  // Where a store entry was read from: its kind of section, its place there and its key.
  struct ReadFrom {
    std::size_t kind = 0;
    std::size_t place = 0;
    std::string key;
  };
  // One program's rules while the dialog is open ("" for all programs).
  struct Page {
    std::string program;
    std::vector<std::vector<KeptLine>> kept;   // by kind
    std::map<std::size_t, ReadFrom> readFrom;  // by store index
    std::vector<std::size_t> rows;             // store indices, while another page is shown
    std::set<std::size_t> setAnew;             // store indices of the rows edited
    bool changed = false;
  };

  std::string SectionOf(const Page& page, std::size_t kind) const {
    return ProgramSection(kinds_[kind], page.program);
  }
  Page NewPage(std::string program) const;
  void Show(const std::string& program);
  // Edit, and the page remembers the edited row.
  void EditSelected();
  // Reads the page's section into the store and the list.
  void Load(Page& page);
  // Remembers the shown rows in their page.
  void KeepRows();
  std::vector<std::string> LinesOf(const Page& page, std::size_t kind) const;
  // The page's kept lines of `kind` that may stay beside its rows of other kinds.
  std::vector<KeptLine> KeptBeside(const Page& page, std::size_t kind) const;

  std::string ruleFile_;
  std::vector<const char*> kinds_;
  const char* duplicateQuestion_;
  ProgramChoice programs_;
  std::vector<Page> pages_;
  std::size_t shown_ = 0;
};
