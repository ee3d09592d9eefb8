#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "editors/HotkeyEntry.h"
#include "ui/CResizeDlg.h"
#include "ui/CStyledListCtrl.h"

// "HOTKEY 설정하기": every hotkey rule of the rule file, the hotkey in the first column and the
// key it sends or the program it runs in the second. Add and Edit run the editor; Delete (or
// the Delete key in the list) removes the selected rows from the file at once; OK writes the
// section anew from the rows; Cancel writes nothing more.
class CHotkeyListDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 131;
  static constexpr int kList = 1018;
  static constexpr int kAdd = 4;
  static constexpr int kEdit = 1002;
  static constexpr int kDelete = 5;
  static constexpr const char* kSameKey = "동일한 키로 맵핑설정을 할 수 없습니다.";
  static constexpr const char* kDuplicateQuestion =
      "이미 키기 등록되어 있습니다. \n\n이전 키 설정을 수정하겠습니까 ?";
  static constexpr const char* kDuplicateCaption = "중복 키";

  explicit CHotkeyListDlg(std::string ruleFile);

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void Load();
  void Add();
  void Edit();
  void Delete();
  void AppendRow(std::size_t index);
  void ShowRow(int row, const HotkeyEntry& entry);
  // The first row other than `except` whose rule has this hotkey and modifiers, or -1.
  int FindHotkey(const HotkeyEntry& entry, int except) const;
  // Asks whether the rule of another row may be replaced; true for Yes.
  bool MayReplace();

  std::string ruleFile_;
  CStyledListCtrl list_;
  // Every entry the dialog has seen, by the index its row carries. Entries are never removed:
  // a deleted or replaced row leaves its entry behind, unwritten.
  std::vector<HotkeyEntry> store_;
};
