#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editors/RuleSectionLines.h"
#include "ui/CResizeDlg.h"
#include "ui/CStyledListCtrl.h"

// The frame the rule lists share: a list of one section's rules with Add, Edit (or a double
// click) and Delete, resizing with the dialog. Each row carries the index of its entry in the
// derived dialog's store. The lines the list cannot show are kept and written back in their
// places; Delete takes the selected rows' rules out of the file at once (the lines they were
// read from), and OK writes the section anew in one step, or says that it could not and stays
// open with the old rules in the file.
class CRuleListDlg : public CResizeDlg {
 public:
  static constexpr int kList = 1018;
  static constexpr int kAdd = 4;
  static constexpr int kEdit = 1002;
  static constexpr int kDelete = 5;
  static constexpr const char* kDuplicateCaption = "중복 키";

 protected:
  // `duplicateQuestion` asks whether a rule for the same key may be replaced.
  CRuleListDlg(int templateId, std::string ruleFile, const char* section,
               const char* duplicateQuestion);

  bool OnInitDialog() override;
  void OnOK() override;

  virtual void ShowColumns() = 0;
  // Takes a line of the section into the store and the list; its store index, or nullopt for a
  // line the list cannot show.
  virtual std::optional<std::size_t> LoadLine(const std::string& line) = 0;
  // The line that the store's entry `index` is written as.
  virtual std::string LineOf(std::size_t index) const = 0;
  virtual void Add() = 0;
  virtual void Edit() = 0;
  // After the rows were read.
  virtual void Loaded() {}

  void Delete();
  std::size_t EntryOfRow(int row) const { return static_cast<std::size_t>(list_.GetItemData(row)); }
  // The first row other than `except` whose entry `matches`, or -1.
  int FindRow(const std::function<bool(std::size_t)>& matches, int except) const;
  // A new or edited rule for the key of row `duplicate` (-1: none) replaces that row if the
  // user says so; false when not. `row`, the row being edited, follows when rows move up.
  bool ReplaceDuplicate(int duplicate, int& row);

  CStyledListCtrl list_;

 private:
  // Where a store entry was read from: its place in the section and the key it had there.
  struct ReadFrom {
    std::size_t place = 0;
    std::string key;
  };

  void Load();

  std::string ruleFile_;
  const char* section_;
  const char* duplicateQuestion_;
  std::vector<KeptLine> kept_;
  std::map<std::size_t, ReadFrom> readFrom_;  // by store index
};
