#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimDialogRunner.h"
#include "ui/CHTMLStatic.h"
#include "ui/CResizeDlg.h"
#include "ui/HtmlMarkup.h"

namespace {

constexpr std::uint32_t kGray = 0x808080;

MarkupRun TextRun(std::string text, bool bold = false, std::optional<std::uint32_t> colour = {},
                  std::string link = {}) {
  MarkupRun run;
  run.text = std::move(text);
  run.bold = bold;
  run.colour = colour;
  run.link = std::move(link);
  return run;
}

TEST(Markup, TheMainWindowsHelpLink) {
  const auto runs =
      ParseMarkup("<font color=gray>[<a href=vxcp:///maindlg/help_shiftmemory?>도움말</a>]</font>");
  EXPECT_EQ(runs, (std::vector<MarkupRun>{
                      TextRun("[", false, kGray),
                      TextRun("도움말", false, kGray, "vxcp:///maindlg/help_shiftmemory?"),
                      TextRun("]", false, kGray)}));
}

TEST(Markup, BoldBreaksColoursAndEntities) {
  MarkupRun lineBreak;
  lineBreak.lineBreak = true;
  EXPECT_EQ(ParseMarkup("a<B>b</B><br>c &lt;d&gt; &amp;<font color=\"#FF0000\">e</font><x>f"),
            (std::vector<MarkupRun>{TextRun("a"), TextRun("b", true), lineBreak, TextRun("c <d> &"),
                                    TextRun("e", false, 0x0000FF), TextRun("f")}));
  // An unknown colour keeps the text's own; an unclosed tag is text.
  EXPECT_EQ(ParseMarkup("<font color=plaid>x</font> 1 < 2"),
            (std::vector<MarkupRun>{TextRun("x 1 < 2")}));
  EXPECT_EQ(ParseMarkup(""), std::vector<MarkupRun>{});
  EXPECT_TRUE(HasMarkup("<font color=gray>(파일 메뉴에서 설정을 저장할 수 있습니다)"));
  EXPECT_FALSE(HasMarkup("Caps Lock 키입력 무시하기"));
  EXPECT_FALSE(HasMarkup("1 < 2 > 0"));
  EXPECT_EQ(ParseColour("#102030"), 0x302010u);
  EXPECT_EQ(ParseColour("#10203"), std::nullopt);
}

class LinkDlg : public CResizeDlg {
 public:
  explicit LinkDlg(bool handles) : CResizeDlg(600, 0) {
    if (handles) {
      OnLink([this](std::uintptr_t, const std::string& target) {
        targets.push_back(target);
        return 1;
      });
    }
    OnCommand(20, [this] {
      help.Attach(Host(), 21);
      help.SetHighlightColour(0x00AA00);
      help.SetMargin(3);
      help.SetWindowTextA("<a href=x>y</a>");
    });
  }
  std::vector<std::string> targets;
  CHTMLStatic help;
};

// The dialog frees the copy of the target whether or not it handles links; the sanitizer
// reports a leak otherwise.
TEST(Markup, LinkClicksReachTheDialogAndTheirCopyIsFreed) {
  SimDialogRunner runner;
  const InstalledDialogRunner installedRunner(runner);
  runner.UseTemplate(600, {{20, ControlKind::Button}, {21, ControlKind::Static}});
  for (bool handles : {true, false}) {
    LinkDlg dialog(handles);
    runner.When(600, [&](SimDialogHost& host) {
      host.Click(20);
      ASSERT_NE(host.Markup(21), nullptr);
      EXPECT_EQ(host.Markup(21)->highlight, 0x00AA00u);
      EXPECT_EQ(host.Markup(21)->margin, 3);
      EXPECT_EQ(host.Text(21), "<a href=x>y</a>");
      host.ClickLink("vxcp:///maindlg/help_shiftmemory?");
      host.Pump();
      host.Click(dialog_message::kIdCancel);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.targets.size(), handles ? 1u : 0u);
  }
}

}  // namespace
