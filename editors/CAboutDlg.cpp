#include "editors/CAboutDlg.h"

#include "ui/CUtilityLib.h"

namespace {

constexpr int kShowNormal = 5;  // SW_SHOW

}  // namespace

std::string CAboutDlg::HeaderText(const std::string& version) {
  return "<font color=#800000><B>Tastron</B></font><br><br>버젼 : " + version +
         "<br>홈페이지 : <a href=" + kShownHomePage + ">" + kShownHomePage + "</a>";
}

const char* CAboutDlg::BodyText() {
  return "<font color=#808080>키보드의 특정 키를 작동 금지시키는 Tastron 입니다.<br><br>"
         "메인창에서 설정된 키들은 그 키가 눌려도 무시합니다.<br><br>"
         "기본적으로 잘 사용하지 않고 눌리면 헷갈리는<br>"
         "[Insert], [Caps Lock], [Num Lock]키들이 대상이고<br>"
         "게임시 항상 조심하는 [Win]키도 막을 수 있습니다.<br><br>"
         "그리고 한영전환으로 전에 사용하던 Shift+Space키에 <br>"
         "의한 한영전환 등을 지원합니다.<br><br>"
         "개인적으로 너무 불편해서 일부는 키보드 뽑아버리고 <br>"
         "사용하던 키들인데 이제는 꽃아놓고 사용해도 되서 <br>"
         "너무 편하네요 ^^";
}

bool CAboutDlg::OnInitDialog() {
  header_.Attach(Host(), kHeader);
  header_.SetHighlightColour(0xFF0000);
  body_.Attach(Host(), kBody);
  body_.SetBackgroundColour(0xFFFFFF);
  body_.SetMargin(5);
  header_.SetWindowTextA(HeaderText(version_));
  body_.SetWindowTextA(BodyText());
  return true;
}

// Enter and "홈페이지 이동" open the home page; the dialog stays open.
void CAboutDlg::OnOK() {
  CUtilityLib::Get().StartProgram(kOpenedHomePage, "", kShowNormal);
}
