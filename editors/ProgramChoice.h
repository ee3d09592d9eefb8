#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/DialogHost.h"

// The drop-down "적용 프로그램:" of the rule editors: "모든 프로그램" first (the rules for every
// program), then each program that has rules of the editor's kind, by name, then "프로그램
// 추가...", which asks which program (CProgramPickDlg) and adds it. The editor shows the rules
// of the program chosen here.
class ProgramChoice {
 public:
  static constexpr int kCombo = 1090;
  static constexpr const char* kAllPrograms = "모든 프로그램";
  static constexpr const char* kAddProgram = "프로그램 추가...";

  // Fills the list with `programs` and chooses "모든 프로그램".
  void Fill(DialogHost& host, std::vector<std::string> programs);

  // After the user picked an entry: the program chosen now ("" for every program), or nullopt
  // when the choice stays as it was (the same entry, or an add that was cancelled).
  std::optional<std::string> OnPicked(DialogHost& host);

  // Shows `program` ("" for every program) as chosen, adding it when the list lacks it.
  void Choose(DialogHost& host, const std::string& program);

  const std::string& Current() const { return current_; }

 private:
  // The program's entry, or nullopt when the list lacks it.
  std::optional<int> EntryOf(const std::string& program) const;
  void Show(DialogHost& host);

  std::vector<std::string> programs_;
  std::string current_;
};
