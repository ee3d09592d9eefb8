#pragma once

#include <string>

#include "ui/CHTMLStatic.h"
#include "ui/CResizeDlg.h"

// "Tastron에 대하여...": product, version and a short description, and a button that opens the
// home page and leaves the dialog open. A plain dialog, not a CResizeDlg.
class CAboutDlg : public CDialog {
 public:
  static constexpr int kTemplateId = 129;
  static constexpr int kHeader = 1008;
  static constexpr int kBody = 1010;
  // The address in the header, and the one the button opens: two different pages.
  static constexpr const char* kShownHomePage = "https://tastron.kr";
  static constexpr const char* kOpenedHomePage = "https://tastron.kr/home";

  explicit CAboutDlg(const std::string& version) : CDialog(kTemplateId, 0), version_(version) {}

  static std::string HeaderText(const std::string& version);
  static const char* BodyText();

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  std::string version_;
  CHTMLStatic header_;
  CHTMLStatic body_;
};
