#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "editors/CRuleListDlg.h"
#include "editors/HotkeyEntry.h"
#include "ui/CStyledListCtrl.h"

// "HOTKEY 설정하기": every hotkey rule of the rule file, for all programs or for the program
// chosen above the list, the hotkey in the first column and the key it sends or the program it
// runs in the second. Add and Edit run the editor; Delete (or
// the Delete key in the list) removes the selected rows from the file at once; OK writes the
// section anew from the rows and the lines it could not show; Cancel writes nothing more.
class CHotkeyListDlg : public CRuleListDlg {
 public:
  static constexpr int kTemplateId = 131;
  static constexpr const char* kSameKey = "동일한 키로 맵핑설정을 할 수 없습니다.";
  static constexpr const char* kDuplicateQuestion =
      "이미 키기 등록되어 있습니다. \n\n이전 키 설정을 수정하겠습니까 ?";

  explicit CHotkeyListDlg(std::string ruleFile);

 private:
  void ShowColumns() override;
  std::optional<std::size_t> LoadLine(const std::string& line, std::size_t kind) override;
  std::string LineOf(std::size_t index) const override;
  bool Add() override;
  bool Edit() override;
  void AppendRow(std::size_t index) override;
  void ShowRow(int row, const HotkeyEntry& entry);
  // The first row other than `except` whose rule has this hotkey and modifiers, or -1.
  int FindHotkey(const HotkeyEntry& entry, int except) const;

  // Every entry the dialog has seen, by the index its row carries. Entries are never removed:
  // a deleted or replaced row leaves its entry behind, unwritten.
  std::vector<HotkeyEntry> store_;
};
