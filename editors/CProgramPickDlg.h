#pragma once

#include <string>
#include <vector>

#include "ui/CResizeDlg.h"
#include "ui/CStyledListCtrl.h"
#include "ui/Services.h"

// "프로그램 추가": which program gets rules of its own. The programs running with a window are
// listed, the one used last first (Tastron's own windows are in front now): a click on one puts
// its file name into the box, a double click takes it at once. A name may also be typed (a
// program that is not running, a game that hides its window) or taken from a program file
// found with "찾아보기...". Programs are named by their file name alone, as the hook library
// names the program in front (a store app by its own program, not its frame).
class CProgramPickDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 139;
  static constexpr int kRunning = 1100;
  static constexpr int kName = 1101;
  static constexpr int kBrowse = 1102;
  static constexpr const char* kProgramColumn = "프로그램";
  static constexpr const char* kTitleColumn = "창 제목";
  static constexpr const char* kChooseTitle = "프로그램 선택";
  static constexpr const char* kChooseFilter = "프로그램(*.exe)|*.exe||";
  static constexpr const char* kNoName = "프로그램을 목록에서 고르거나 파일 이름을 입력하십시오.";
  static constexpr const char* kUnusableName =
      "이 파일 이름으로는 프로그램별 설정을 만들 수 없습니다.\n\n";

  CProgramPickDlg();

  // The program chosen, after OK: a file name that can name a section.
  const std::string& Program() const { return program_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void TakeSelectedRow();
  void Browse();

  CStyledListCtrl list_;
  std::vector<RunningProgram> running_;
  std::string program_;
};
