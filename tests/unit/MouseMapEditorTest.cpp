#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/CVelloranApp.h"
#include "editors/CMouseMapDlg.h"
#include "editors/KeyNaming.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "tests/unit/FakeHookLibrary.h"
#include "tests/unit/TempFolder.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kFolder = "C:\\Users\\tester\\AppData\\Roaming\\tastron";
constexpr const char* kRuleFile = "C:\\Users\\tester\\AppData\\Roaming\\tastron\\config.ini";
constexpr const char* kProgramPath = "C:\\Users\\tester\\AppData\\Roaming\\tastron\\tool.exe";
constexpr int kOk = dialog_message::kIdOk;
constexpr std::uint32_t kKeyDown = 0x100;
constexpr std::uint32_t kKeyUp = 0x101;
using Dlg = CMouseMapDlg;

class MouseMapEditorTest : public ::testing::Test {
 protected:
  void SetUp() override { CUtilityLib::CreateMultiFolder(kFolder, 1); }
  void WriteRuleFile(const std::string& text) { TempFolder::Write(HostFile(kRuleFile), text); }
  std::string RuleFile() {
    std::string text = TempFolder::Read(HostFile(kRuleFile));
    std::erase(text, '\r');
    return text;
  }
  std::string HostFile(const std::string& path) { return services_.HostPath(path).string(); }
  // Opens the editor; `user` acts in it; Cancel when the user left it open.
  int RunEditor(const std::function<void(SimDialogHost&)>& user) {
    runner_.When(Dlg::kTemplateId, [&](SimDialogHost& editor) {
      user(editor);
      if (!editor.Ended()) editor.Click(dialog_message::kIdCancel);
    });
    return CMouseMapDlg(kRuleFile).DoModal();
  }
  static void Press(SimDialogHost& editor, std::uint8_t virtualKey, std::uint8_t scanCode) {
    editor.PressKey(kKeyDown, virtualKey, scanCode, Dlg::kKeyBox);
    editor.PressKey(kKeyUp, virtualKey, scanCode, Dlg::kKeyBox);
    editor.Pump();
  }
  static std::vector<int> Checked(SimDialogHost& editor, const auto& boxes) {
    std::vector<int> checked;
    for (int id : boxes) {
      if (editor.IsChecked(id)) checked.push_back(id);
    }
    return checked;
  }

  FakeServices services_;
  const InstalledServices installedServices_{services_};
  SimDialogRunner runner_;
  const InstalledDialogRunner installedRunner_{runner_};
};

TEST_F(MouseMapEditorTest, WithoutARuleItOpensNotSetWithEverythingClear) {
  RunEditor([&](SimDialogHost& editor) {
    EXPECT_TRUE(editor.IsChecked(Dlg::kNotSet));
    EXPECT_FALSE(editor.IsChecked(Dlg::kKeyAction));
    EXPECT_FALSE(editor.IsChecked(Dlg::kProgramAction));
    EXPECT_TRUE(Checked(editor, Dlg::kCompanionBoxes).empty());
    EXPECT_TRUE(Checked(editor, Dlg::kActionModifierBoxes).empty());
    EXPECT_EQ(editor.Text(Dlg::kKeyBox), "");
    for (int id : {Dlg::kKeyBox, Dlg::kProgram, Dlg::kBrowse, Dlg::kParameter, 1040, 1056}) {
      EXPECT_FALSE(editor.IsEnabled(id)) << id;
    }
    for (int id : {1027, 1044, kOk}) EXPECT_TRUE(editor.IsEnabled(id)) << id;
    // The kinds switch what is enabled.
    editor.ClickCheckBox(Dlg::kKeyAction);
    EXPECT_TRUE(editor.IsEnabled(Dlg::kKeyBox));
    EXPECT_TRUE(editor.IsEnabled(1056));
    EXPECT_FALSE(editor.IsEnabled(Dlg::kBrowse));
    EXPECT_FALSE(editor.IsChecked(Dlg::kNotSet));
    editor.ClickCheckBox(Dlg::kProgramAction);
    EXPECT_FALSE(editor.IsChecked(Dlg::kKeyAction));
    EXPECT_FALSE(editor.IsEnabled(Dlg::kKeyBox));
    EXPECT_TRUE(editor.IsEnabled(Dlg::kProgram));
    EXPECT_TRUE(editor.IsEnabled(Dlg::kBrowse));
    EXPECT_TRUE(editor.IsEnabled(Dlg::kParameter));
  });
}

// Every form a stored rule can take, including hand-written ones, opens as the library reads
// it: short records are padded, any nonzero flag is set.
TEST_F(MouseMapEditorTest, StoredRulesOpenAsTheLibraryReadsThem) {
  struct Case {
    std::string section;
    std::vector<int> companions;
    int kindBox;
    std::string keyText;
    std::vector<int> modifiers;
  };
  const std::vector<Case> cases = {
      {"KeyState=1/0/1/0/0/1\nMapped=0/43/2e/1/0/0/0/0/0/0/1\n",
       {1027, 1030, 1044},
       Dlg::kKeyAction,
       FormatKeyName(0x43, 0x2E),
       {1040, 1056}},
      {"KeyState=1\nMapped=0/41\n", {1027}, Dlg::kKeyAction, FormatKeyName(0x41, 0), {}},
      {"KeyState=0/7/0/-1/0/0\n", {1028, 1034}, Dlg::kNotSet, "", {}},
      {"Mapped=0/70/3B/0/0/0/0/1/1/1/1\n",
       {},
       Dlg::kKeyAction,
       FormatKeyName(0x70, 0x3B),
       {1050, 1052, 1054, 1056}},
      {"KeyState=0/0/0/0/0/0\nMapped=2/x/y\n", {}, Dlg::kProgramAction, "", {}},
  };
  for (const Case& c : cases) {
    WriteRuleFile("[MouseMap2]\n" + c.section);
    RunEditor([&](SimDialogHost& editor) {
      EXPECT_EQ(Checked(editor, Dlg::kCompanionBoxes), c.companions) << c.section;
      EXPECT_TRUE(editor.IsChecked(c.kindBox)) << c.section;
      EXPECT_EQ(editor.Text(Dlg::kKeyBox), c.keyText) << c.section;
      EXPECT_EQ(Checked(editor, Dlg::kActionModifierBoxes), c.modifiers) << c.section;
    });
  }
}

// A path longer than the boxes take when typing (259 characters) is read whole, kept whole at
// OK and written back whole; typing stops at 259 characters, Korean ones counted as one.
TEST_F(MouseMapEditorTest, AProgramRuleOpensWithItsWholePathAndUnescapedParameter) {
  const std::string longPath = std::string(kFolder) + "\\" + std::string(240, 'p') + ".exe";
  TempFolder::Write(HostFile(longPath), "");
  const std::string rules =
      "[MouseMap2]\nKeyState=0/0/0/0/0/0\nMapped=1/" + longPath + "/a$!b$$c\n";
  WriteRuleFile(rules);
  const int ended = RunEditor([&](SimDialogHost& editor) {
    EXPECT_TRUE(editor.IsChecked(Dlg::kProgramAction));
    EXPECT_EQ(editor.Text(Dlg::kParameter), "a/b$c");
    EXPECT_EQ(editor.TextLimit(Dlg::kProgram), 259);
    EXPECT_EQ(editor.TextLimit(Dlg::kParameter), 259);
    editor.Click(kOk);
  });
  EXPECT_EQ(ended, kOk);
  EXPECT_TRUE(services_.MessageBoxes().empty());
  EXPECT_EQ(RuleFile(), rules);
  std::string korean;
  for (int i = 0; i < 300; ++i) korean += "가";
  RunEditor([&](SimDialogHost& editor) {
    editor.Type(Dlg::kParameter, korean);
    EXPECT_EQ(editor.Text(Dlg::kParameter), korean.substr(0, 259 * 3));
  });
}

TEST_F(MouseMapEditorTest, TheKeyBoxTakesOrdinaryKeysAndRefusesModifiersAndTheKoreanKeys) {
  RunEditor([&](SimDialogHost& editor) {
    editor.ClickCheckBox(Dlg::kKeyAction);
    Press(editor, 0x41, 0x1E);
    EXPECT_EQ(editor.Text(Dlg::kKeyBox), FormatKeyName(0x41, 0x1E));
    const std::vector<std::pair<std::uint8_t, std::uint8_t>> refused = {
        {0x5B, 0x5B}, {0x5C, 0x5C}, {0x5D, 0x5D}, {0x10, 0x2A}, {0x10, 0x36}, {0x11, 0x1D},
        {0x12, 0x38}, {0x14, 0x3A}, {0x15, 0x38}, {0x19, 0x1D}, {0xE5, 0x1E}};
    for (const auto& [virtualKey, scanCode] : refused) {
      EXPECT_FALSE(editor.PressKey(kKeyDown, virtualKey, scanCode, Dlg::kKeyBox)) << +virtualKey;
      editor.Pump();
      EXPECT_EQ(editor.Text(Dlg::kKeyBox), FormatKeyName(0x41, 0x1E)) << +virtualKey;
    }
    Press(editor, 0x7B, 0x58);  // F12
    editor.ClickCheckBox(1041);
    editor.ClickCheckBox(1054);
    editor.Click(kOk);
  });
  EXPECT_EQ(RuleFile(), "[MouseMap2]\nKeyState=0/0/0/0/0/0\nMapped=0/7b/58/0/1/0/0/0/0/1/0\n");
}

TEST_F(MouseMapEditorTest, OkRefusesAMissingKeyOrProgramAndWritesNothing) {
  WriteRuleFile("[MouseMap2]\nKeyState=1/0/0/0/0/0\n");
  services_.AnswerNextMessageBox(message_box::kIdOk, 2);
  RunEditor([&](SimDialogHost& editor) {
    editor.ClickCheckBox(Dlg::kKeyAction);
    editor.Click(kOk);
    EXPECT_FALSE(editor.Ended());
    EXPECT_EQ(services_.LastMessageBox().text, "실행될 단축키를 입력해야 합니다.");
    editor.ClickCheckBox(Dlg::kProgramAction);
    editor.Type(Dlg::kProgram, "C:\\nowhere\\none.exe");
    editor.Click(kOk);
    EXPECT_FALSE(editor.Ended());
    const auto& shown = services_.LastMessageBox();
    EXPECT_EQ(shown.text, "지정 프로그램이 유효하지 않습니다.");
    EXPECT_EQ(shown.caption, "Tastron");
    EXPECT_EQ(shown.type, message_box::kOk | message_box::kIconInformation);
  });
  EXPECT_EQ(RuleFile(), "[MouseMap2]\nKeyState=1/0/0/0/0/0\n");
}

TEST_F(MouseMapEditorTest, NotSetRemovesTheRuleAndCancelKeepsIt) {
  const std::string rules = "[Tastron]\nStartup=1\n[MouseMap2]\nKeyState=1/0/0/0/0/0\n";
  WriteRuleFile(rules);
  EXPECT_EQ(RunEditor([&](SimDialogHost& editor) { editor.ClickCheckBox(1028); }),
            dialog_message::kIdCancel);
  EXPECT_EQ(RuleFile(), rules);
  // Companions without an action open as not set; OK then removes the section.
  EXPECT_EQ(RunEditor([&](SimDialogHost& editor) { editor.Click(kOk); }), kOk);
  EXPECT_EQ(RuleFile(), "[Tastron]\nStartup=1\n");
}

TEST_F(MouseMapEditorTest, ABrowsedProgramWithSlashesInItsParameterComesBackUnchanged) {
  TempFolder::Write(HostFile(kProgramPath), "");
  RunEditor([&](SimDialogHost& editor) {
    editor.ClickCheckBox(Dlg::kProgramAction);
    services_.AnswerNextChooser(std::string(kProgramPath));
    editor.Click(Dlg::kBrowse);
    editor.Type(Dlg::kParameter, "/n /select,C:\\a$b");
    editor.ClickCheckBox(1030);
    editor.ClickCheckBox(1034);
    editor.Click(kOk);
  });
  EXPECT_EQ(services_.WindowCalls().back(), "chooser open 실행 파일 선택");
  EXPECT_EQ(RuleFile(), "[MouseMap2]\nKeyState=0/0/1/1/0/0\nMapped=1/" + std::string(kProgramPath) +
                            "/$!n $!select,C:\\a$$b\n");
  RunEditor([&](SimDialogHost& editor) {
    EXPECT_EQ(editor.Text(Dlg::kParameter), "/n /select,C:\\a$b");
    EXPECT_EQ(Checked(editor, Dlg::kCompanionBoxes), (std::vector<int>{1030, 1034}));
  });
}

TEST_F(MouseMapEditorTest, TheMainWindowsButtonOpensItWithTheHooksPaused) {
  FakeHookLibrary::Reset();
  services_.AddModule("trellin_192.dll", FakeHookLibrary::Exports());
  runner_.When(102, [&](SimDialogHost& window) {
    FakeHookLibrary::calls.clear();
    runner_.When(Dlg::kTemplateId, [&](SimDialogHost& editor) {
      EXPECT_EQ(FakeHookLibrary::calls, std::vector<std::string>{"EnableHookStatue 0"});
      editor.ClickCheckBox(Dlg::kKeyAction);
      Press(editor, 0x43, 0x2E);
      editor.ClickCheckBox(1027);
      editor.Click(kOk);
    });
    window.Click(1024);
    EXPECT_EQ(FakeHookLibrary::calls,
              (std::vector<std::string>{"EnableHookStatue 0", "EnableHookStatue 1"}));
    services_.AnswerNextMessageBox(message_box::kIdYes);
    window.Click(1012);
  });
  CVelloranApp().Run("");
  EXPECT_NE(RuleFile().find("[MouseMap2]\nKeyState=1/0/0/0/0/0\nMapped=0/43/2e/0/0/0/0/0/0/0/0\n"),
            std::string::npos);
}

}  // namespace

namespace {

// A shortcut dropped onto the big button makes the rule run its program with its arguments.
TEST_F(MouseMapEditorTest, ADroppedShortcutBecomesTheProgramAndItsParameter) {
  TempFolder::Write(HostFile(kProgramPath), "");
  services_.AddShortcut("C:\\Users\\tester\\Desktop\\Tool.lnk", {kProgramPath, "-x a/b"});
  RunEditor([&](SimDialogHost& editor) {
    editor.Click(Dlg::kDropButton);  // a click on it is no drop
    EXPECT_TRUE(editor.IsChecked(Dlg::kNotSet));
    editor.DropFiles(Dlg::kDropButton, {"C:\\Users\\tester\\Desktop\\Tool.lnk"});
    EXPECT_TRUE(editor.IsChecked(Dlg::kProgramAction));
    EXPECT_TRUE(editor.IsEnabled(Dlg::kParameter));
    editor.Click(kOk);
  });
  EXPECT_EQ(RuleFile(), "[MouseMap2]\nKeyState=0/0/0/0/0/0\nMapped=1/" + std::string(kProgramPath) +
                            "/-x a$!b\n");
}

}  // namespace
