#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "editors/CRuleListDlg.h"
#include "editors/KeyChangeSection.h"
#include "ui/CStyledListCtrl.h"

// "키보드 맵 설정하기": every remapping of the rule file by name, for all programs or for the
// program chosen above the list, From in the first column and To in the second (with what a
// hold gives, for a tap-hold remapping: those live in the tap-hold section of the page). Add and
// Edit run the editor; Delete removes the selected rows from the file at once; OK writes the
// sections anew from the rows and the lines it could not show; Cancel writes nothing more.
class CKeyChangeListDlg : public CRuleListDlg {
 public:
  static constexpr int kTemplateId = 136;
  static constexpr const char* kSameKey = "동일한 키로 맵핑설정을 할 수 없습니다.";
  static constexpr const char* kDuplicateQuestion =
      "이미 키기 등록되어 있습니다. \n\n이전 키 설정을 변경하겠습니까 ?";

  explicit CKeyChangeListDlg(std::string ruleFile);

 private:
  // The page's sections in the order the library reads them.
  static constexpr std::size_t kTapHoldKind = 0;
  static constexpr std::size_t kKeyChangeKind = 1;

  void ShowColumns() override;
  std::optional<std::size_t> LoadLine(const std::string& line, std::size_t kind) override;
  std::string LineOf(std::size_t index) const override;
  std::size_t KindOf(std::size_t index) const override;
  // An empty value is no rule in a section for all programs: the library reads on.
  bool ClaimsKey(const std::string& line, bool forProgram) const override;
  void Loaded() override { list_.AdjustColumnWidth(1); }
  bool Add() override;
  bool Edit() override;
  void AppendRow(std::size_t index) override;
  // The first row other than `except` whose remapping has this From pair, or -1.
  int FindFrom(KeyCodePair from, int except) const;

  // Every entry the dialog has seen, by the index that its row carries. Entries are never
  // removed: a deleted row leaves its entry behind, unwritten.
  std::vector<KeyChangeEntry> store_;
};
