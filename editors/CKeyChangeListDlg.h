#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "editors/KeyChangeSection.h"
#include "ui/CResizeDlg.h"
#include "ui/CStyledListCtrl.h"

// "키보드 맵 설정하기": every remapping of the rule file by name, From in the first column and
// To in the second. Add and Edit run the editor; Delete removes the selected rows from the
// file at once; OK writes the section anew from the rows; Cancel writes nothing more.
class CKeyChangeListDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 136;
  static constexpr int kList = 1018;
  static constexpr int kAdd = 4;
  static constexpr int kEdit = 1002;
  static constexpr int kDelete = 5;
  static constexpr const char* kSameKey = "동일한 키로 맵핑설정을 할 수 없습니다.";
  static constexpr const char* kDuplicateQuestion =
      "이미 키기 등록되어 있습니다. \n\n이전 키 설정을 변경하겠습니까 ?";
  static constexpr const char* kDuplicateCaption = "중복 키";

  explicit CKeyChangeListDlg(std::string ruleFile);

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void Load();
  void Add();
  void Edit();
  void Delete();
  // Appends the store's entry `index` as the last row.
  void AppendRow(std::size_t index);
  // The first row other than `except` whose remapping has this From pair, or -1.
  int FindFrom(KeyCodePair from, int except) const;
  // Asks whether the remapping of the row may be replaced; true for Yes.
  bool MayReplace();

  std::string ruleFile_;
  CStyledListCtrl list_;
  // Every entry the dialog has seen, by the index that its row carries. Entries are never
  // removed: a deleted row leaves its entry behind, unwritten.
  std::vector<KeyChangeEntry> store_;
  std::vector<std::optional<std::size_t>> storeLines_;  // the place in the section, if loaded
  std::vector<KeptKeyChangeLine> kept_;
};
