#pragma once

#include <string>

#include "ui/CHTMLStatic.h"
#include "ui/CResizeDlg.h"

// "도움말 - Shift 기억 기능": what the Shift memory option does.
class CShiftMemoryHelpDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 138;
  static constexpr int kText = 1065;

  CShiftMemoryHelpDlg() : CResizeDlg(kTemplateId, 0) {}
  static std::string HelpText();

 protected:
  bool OnInitDialog() override;

 private:
  CHTMLStatic text_;
};
