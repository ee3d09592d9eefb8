#include "editors/CShiftMemoryHelpDlg.h"

std::string CShiftMemoryHelpDlg::HelpText() {
  std::string text;
  for (const char* part :
       {"<b>Shift 기억 기능이란</b>", "<br>", "<br>Shift를 한번 눌렀다가 뗀 후 ",
        "<br>다른 키를 눌렀을 때 Shift가 눌린 것처럼 동작",
        "<br>이 후 부터 입력된 키는 Shift가 해제된 상태됨", "<br>", "<br><b>사용 예)</b>",
        "<br>Shift 키를 눌렀다가 뗌 -> 'ㄱ' 키 입력하면 'ㄲ'이 입력 됨",
        "<br>Shift 키를 눌렀다가 뗌 -> 'a' 키 입력하면 'A'가 입력 됨", "<br>", "<br><b>기타)</b>",
        "<br>Shift키를 누른 후 타 키입력 후 떼면 적용 안됨",
        "<br>Shift키를 2번 누르면 기억이 해제됨"}) {
    text += part;
  }
  return text;
}

bool CShiftMemoryHelpDlg::OnInitDialog() {
  text_.Attach(Host(), kText);
  text_.SetWindowTextA(HelpText());
  return true;
}
