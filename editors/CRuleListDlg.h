#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "ui/CResizeDlg.h"
#include "ui/CStyledListCtrl.h"

// The frame the rule lists share: a list of one section's rules with Add, Edit (or a double
// click) and Delete, resizing with the dialog. Each row carries the index of its entry in the
// derived dialog's store; Delete takes the selected rows' rules out of the file at once, and OK
// writes the section anew from the rows, in their order.
class CRuleListDlg : public CResizeDlg {
 public:
  static constexpr int kList = 1018;
  static constexpr int kAdd = 4;
  static constexpr int kEdit = 1002;
  static constexpr int kDelete = 5;
  static constexpr const char* kDuplicateCaption = "중복 키";

 protected:
  // `duplicateQuestion` asks whether a rule for the same key may be replaced.
  CRuleListDlg(int templateId, const char* duplicateQuestion);

  bool OnInitDialog() override;
  void OnOK() override;

  // The columns, then the rows of the rules read from the file.
  virtual void ShowColumns() = 0;
  virtual void Load() = 0;
  virtual void Add() = 0;
  virtual void Edit() = 0;
  // Takes the store's entry `index` out of the rule file.
  virtual void DeleteRule(std::size_t index) = 0;
  // Writes the section anew from the store's entries, in this order.
  virtual void WriteRules(const std::vector<std::size_t>& indexes) = 0;

  void Delete();
  std::size_t EntryOfRow(int row) const { return static_cast<std::size_t>(list_.GetItemData(row)); }
  // The first row other than `except` whose entry `matches`, or -1.
  int FindRow(const std::function<bool(std::size_t)>& matches, int except) const;
  // A new or edited rule for the key of row `duplicate` (-1: none) replaces that row if the
  // user says so; false when not. `row`, the row being edited, follows when rows move up.
  bool ReplaceDuplicate(int duplicate, int& row);

  CStyledListCtrl list_;

 private:
  const char* duplicateQuestion_;
};
