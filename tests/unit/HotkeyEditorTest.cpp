#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "editors/BuiltInCommands.h"
#include "editors/CHotkeyDlg.h"
#include "editors/CHotkeyListDlg.h"
#include "editors/RuleFileWrite.h"
#include "editors/StorableProgram.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogHost.h"
#include "tests/unit/RuleEditorTest.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kTool = "C:\\Tools\\editor.exe";
constexpr int kList = CHotkeyListDlg::kList;
constexpr int kHotkeyBox = CHotkeyDlg::kHotkeyBox;
constexpr int kActionBox = CHotkeyDlg::kActionKeyBox;
constexpr auto kKeyBoxes = CHotkeyDlg::kKeyModifierBoxes;
constexpr int kLCtrlBox = 1027, kLWinBox = 1031, kRWinBox = 1048;

constexpr Key kA{0x41, 0x1E}, kB{0x42, 0x30}, kF9{0x78, 0x43}, kLWin{0x5B, 0x5B};

class HotkeyEditorTest : public RuleEditorTest {
 protected:
  void SetUp() override {
    RuleEditorTest::SetUp();
    MakeProgram(kTool);
  }
  // Runs the editor alone (Add); `user` acts; Cancel when the user left it open.
  int RunEditor(const std::function<void(SimDialogHost&)>& user, HotkeyEntry* result = nullptr,
                const HotkeyEntry* edited = nullptr) {
    runner_.When(CHotkeyDlg::kTemplateId, [&](SimDialogHost& editor) {
      user(editor);
      if (!editor.Ended()) editor.Click(dialog_message::kIdCancel);
    });
    CHotkeyDlg dialog;
    if (edited != nullptr) dialog.SetEntry(*edited);
    const int ended = dialog.DoModal();
    if (result != nullptr) *result = dialog.Result();
    return ended;
  }
  int RunList(const std::function<void(SimDialogHost&)>& user) {
    return RunDialog<CHotkeyListDlg>(user);
  }
  // The next editor: hotkey with L-Control, then a key to send or the tool to run.
  void NextEditorMakes(Key hotkey, bool leftCtrl, std::optional<Key> send,
                       const std::string& parameter = "") {
    runner_.When(CHotkeyDlg::kTemplateId, [=](SimDialogHost& editor) {
      Press(editor, kHotkeyBox, hotkey);
      editor.SetChecked(kLCtrlBox, leftCtrl);
      if (send) {
        editor.Click(CHotkeyDlg::kSendKeySwitch);
        Press(editor, kActionBox, *send);
      } else {
        editor.Click(CHotkeyDlg::kRunProgramSwitch);
        editor.Type(CHotkeyDlg::kProgramEdit, kTool);
        editor.Type(CHotkeyDlg::kParameterEdit, parameter);
      }
      editor.Click(dialog_message::kIdOk);
    });
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& shown : services_.MessageBoxes()) texts.push_back(shown.text);
    return texts;
  }
};

TEST_F(HotkeyEditorTest, KeyBoxesTakeNoModifierAndOnlyTheHotkeyBoxTakesAWindowsKey) {
  HotkeyEntry result;
  RunEditor(
      [&](SimDialogHost& editor) {
        EXPECT_TRUE(editor.IsChecked(CHotkeyDlg::kSendKeySwitch));
        EXPECT_FALSE(editor.IsEnabled(CHotkeyDlg::kProgramEdit));
        const Key refused[] = {{0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA4, 0x38},
                               {0x14, 0x3A}, {0x15, 0x38}, {0x19, 0x1D}, {0xE5, 0x1E}};
        for (Key key : refused) {
          for (int box : {kHotkeyBox, kActionBox}) {
            EXPECT_FALSE(editor.PressKey(0x100, key.virtualKey, key.scanCode, box));
          }
        }
        // The right-hand Ctrl and Alt arrive by their generic codes and are refused too.
        EXPECT_FALSE(editor.PressKey(0x100, 0x11, 0x1D, kHotkeyBox));
        EXPECT_FALSE(editor.PressKey(0x104, 0x12, 0x38, kHotkeyBox));
        editor.Pump();
        EXPECT_EQ(editor.Text(kHotkeyBox), "");
        // Enter is a key like another: it neither closes the dialog nor stays out of the box.
        EXPECT_TRUE(editor.PressKey(0x100, 0x0D, 0x1C, kHotkeyBox));
        editor.Pump();
        EXPECT_FALSE(editor.Ended());
        EXPECT_EQ(editor.Text(kHotkeyBox), "ENTER");

        editor.SetChecked(kLCtrlBox, true);
        editor.SetChecked(kLWinBox, true);
        Press(editor, kHotkeyBox, kLWin);
        EXPECT_EQ(editor.Text(kHotkeyBox), "LWIN");
        EXPECT_FALSE(editor.IsChecked(kLWinBox));
        for (int box : kKeyBoxes) EXPECT_FALSE(editor.IsEnabled(box)) << box;
        Press(editor, kHotkeyBox, kF9);
        for (int box : kKeyBoxes) EXPECT_TRUE(editor.IsEnabled(box)) << box;
        EXPECT_TRUE(editor.IsChecked(kLCtrlBox));  // its mark survived

        EXPECT_FALSE(editor.PressKey(0x100, kLWin.virtualKey, kLWin.scanCode, kActionBox));
        EXPECT_FALSE(editor.PressKey(0x100, 0x5C, 0x5C, kActionBox));
        editor.Pump();
        EXPECT_EQ(editor.Text(kActionBox), "");
        Press(editor, kActionBox, kA);
        editor.SetChecked(1042, true);  // the action's L-Shift
        editor.Click(dialog_message::kIdOk);
      },
      &result);
  EXPECT_EQ(result.KeyText, "LCtrl+F9");
  EXPECT_FALSE(result.RunsProgram);
  EXPECT_EQ(result.ActionKey, (KeyCodePair{0x41, 0x1E}));
  EXPECT_TRUE(result.ActionModifiers[Modifier::LShift]);
  EXPECT_EQ(result.ActionKeyText, "LShift+A");
}

// The combo as the user sees it, written out here rather than taken from the code it checks:
// each entry's text and, for a command, the program of the Windows folder and the parameter,
// or the pause of Tastron, an action of its own.
struct ExpectedCommand {
  const char* text;
  const char* program;  // nullptr: a heading or separator, which does nothing
  const char* parameter;
  bool pauses = false;
};
constexpr const char* kSeparator = "-------------------------";
constexpr ExpectedCommand kExpectedCommands[] = {
    {"기능 선택", nullptr, nullptr},
    {kSeparator, nullptr, nullptr},
    {"[Command]창 열기", "C:\\Windows\\system32\\cmd.exe", ""},
    {kSeparator, nullptr, nullptr},
    {"[탐색기]로 폴더 열기", "C:\\Windows\\explorer.exe", "D:\\사진"},
    {"[시스템 등록정보] 열기", "C:\\Windows\\system32\\control.exe", "sysdm.cpl"},
    {"[디스플레이 정보] 열기", "C:\\Windows\\system32\\control.exe", "desk.cpl"},
    {kSeparator, nullptr, nullptr},
    {"[제어판] 열기", "C:\\Windows\\system32\\control.exe", ""},
    {"[관리도구] 열기", "C:\\Windows\\system32\\control.exe", "Admintools"},
    {"[컴퓨터관리] 열기", "C:\\Windows\\system32\\compmgmt.msc", ""},
    {"[장치관리자] 열기", "C:\\Windows\\system32\\devmgmt.msc", ""},
    {"[디스크관리] 열기", "C:\\Windows\\system32\\diskmgmt.msc", ""},
    {kSeparator, nullptr, nullptr},
    {"[프로그램 추가/삭제] 열기", "C:\\Windows\\system32\\control.exe", "appwiz.cpl"},
    {"[프린터 및 팩스] 열기", "C:\\Windows\\system32\\control.exe", "printers"},
    {kSeparator, nullptr, nullptr},
    {"[서비스] 열기", "C:\\Windows\\system32\\services.msc", ""},
    {"[성능] 열기", "C:\\Windows\\system32\\perfmon.msc", ""},
    {"[예약된 작업] 열기", "C:\\Windows\\system32\\control.exe", "schedtasks"},
    {"[이벤트뷰어] 열기", "C:\\Windows\\system32\\eventvwr.msc", ""},
    {kSeparator, nullptr, nullptr},
    {"Tastron 일시 정지 / 다시 시작", nullptr, nullptr, true},
};

TEST_F(HotkeyEditorTest, EveryBuiltInCommandFillsInAProgramOfTheWindowsFolder) {
  constexpr int kCount = static_cast<int>(std::size(kExpectedCommands));
  RunEditor([&](SimDialogHost& editor) {
    ASSERT_EQ(editor.ComboItemCount(CHotkeyDlg::kCommandCombo), kCount);
    EXPECT_EQ(editor.ComboSelection(CHotkeyDlg::kCommandCombo), 0);
    for (int i = 0; i < kCount; ++i) {
      const ExpectedCommand& expected = kExpectedCommands[i];
      EXPECT_EQ(editor.ComboItem(CHotkeyDlg::kCommandCombo, i), expected.text);
      // The user had typed a program, then chose to send a key after all.
      editor.Click(CHotkeyDlg::kRunProgramSwitch);
      editor.Type(CHotkeyDlg::kProgramEdit, "before");
      editor.Type(CHotkeyDlg::kParameterEdit, "before");
      editor.Click(CHotkeyDlg::kSendKeySwitch);
      const bool choosesFolder = std::string(expected.text) == "[탐색기]로 폴더 열기";
      if (choosesFolder) services_.AnswerNextChooser("D:\\사진");
      editor.PickComboItem(CHotkeyDlg::kCommandCombo, i);
      if (expected.pauses) {
        // No switch is the pause's: the combo goes on showing it, every action field is off.
        EXPECT_EQ(editor.ComboSelection(CHotkeyDlg::kCommandCombo), i);
        for (int id : {CHotkeyDlg::kSendKeySwitch, CHotkeyDlg::kRunProgramSwitch}) {
          EXPECT_FALSE(editor.IsChecked(id)) << id;
        }
        for (int id : {kActionBox, CHotkeyDlg::kProgramEdit, CHotkeyDlg::kParameterEdit}) {
          EXPECT_FALSE(editor.IsEnabled(id)) << id;
        }
        editor.PickComboItem(CHotkeyDlg::kCommandCombo, 1);  // a separator keeps the pause
        EXPECT_EQ(editor.ComboSelection(CHotkeyDlg::kCommandCombo), i);
        continue;
      }
      EXPECT_EQ(editor.ComboSelection(CHotkeyDlg::kCommandCombo), 0);
      if (expected.program == nullptr) {
        EXPECT_TRUE(editor.IsChecked(CHotkeyDlg::kSendKeySwitch)) << expected.text;
        EXPECT_EQ(editor.Text(CHotkeyDlg::kProgramEdit), "before") << expected.text;
        EXPECT_EQ(editor.Text(CHotkeyDlg::kParameterEdit), "before") << expected.text;
        continue;
      }
      EXPECT_TRUE(editor.IsChecked(CHotkeyDlg::kRunProgramSwitch)) << expected.text;
      EXPECT_TRUE(editor.IsEnabled(CHotkeyDlg::kProgramEdit));
      EXPECT_FALSE(editor.IsEnabled(kActionBox));
      EXPECT_EQ(editor.Text(CHotkeyDlg::kProgramEdit), expected.program) << expected.text;
      EXPECT_EQ(editor.Text(CHotkeyDlg::kParameterEdit), expected.parameter) << expected.text;
      EXPECT_EQ(services_.WindowCalls().size(), i >= 4 ? 1u : 0u) << expected.text;  // one chooser
      if (choosesFolder) {
        EXPECT_EQ(services_.ChooserOwners().back(), editor.Window());
      }
    }

    // A cancelled folder choice changes nothing; the chooser is owned by the editor, which
    // takes no input while it is open.
    editor.Click(CHotkeyDlg::kRunProgramSwitch);
    editor.Type(CHotkeyDlg::kProgramEdit, "kept");
    editor.Type(CHotkeyDlg::kParameterEdit, "before");
    editor.Click(CHotkeyDlg::kSendKeySwitch);
    services_.AnswerNextChooser(std::nullopt);
    editor.PickComboItem(CHotkeyDlg::kCommandCombo, 4);
    EXPECT_TRUE(editor.IsChecked(CHotkeyDlg::kSendKeySwitch));
    EXPECT_EQ(editor.Text(CHotkeyDlg::kProgramEdit), "kept");
    EXPECT_EQ(editor.Text(CHotkeyDlg::kParameterEdit), "before");
  });
  EXPECT_EQ(services_.WindowCalls(),
            (std::vector<std::string>{"chooser folder 폴더 선택", "chooser folder 폴더 선택"}));
}

TEST_F(HotkeyEditorTest, OkTellsWhatIsMissingAndKeepsTheDialogOpen) {
  HotkeyEntry result;
  services_.AnswerNextMessageBox(message_box::kIdOk, 3);
  const int ended = RunEditor(
      [&](SimDialogHost& editor) {
        editor.Click(dialog_message::kIdOk);
        Press(editor, kHotkeyBox, kF9);
        editor.Click(dialog_message::kIdOk);
        editor.Click(CHotkeyDlg::kRunProgramSwitch);
        editor.Type(CHotkeyDlg::kProgramEdit, "C:\\Tools\\missing.exe");
        editor.Click(dialog_message::kIdOk);
        EXPECT_FALSE(editor.Ended());
        EXPECT_EQ(editor.Text(CHotkeyDlg::kProgramEdit), "C:\\Tools\\missing.exe");
        services_.AnswerNextChooser(std::nullopt);  // browsing cancelled: nothing changes
        editor.Click(CHotkeyDlg::kBrowse);
        EXPECT_EQ(editor.Text(CHotkeyDlg::kProgramEdit), "C:\\Tools\\missing.exe");
        services_.AnswerNextChooser(std::string(kTool));
        editor.Click(CHotkeyDlg::kBrowse);
        editor.Type(CHotkeyDlg::kParameterEdit, "/mode=fast $HOME");
        editor.Click(dialog_message::kIdOk);
      },
      &result);
  EXPECT_EQ(ended, dialog_message::kIdOk);
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"HOTKEY를 입력해야 합니다.", "실행될 키를 입력해야 합니다.",
                                      "지정 프로그램이 올바르지 않습니다."}));
  for (const auto& shown : services_.MessageBoxes()) {
    EXPECT_EQ(shown.caption, "Tastron");
    EXPECT_EQ(shown.type, message_box::kOk | message_box::kIconInformation);
  }
  EXPECT_TRUE(result.RunsProgram);
  EXPECT_EQ(result.ProgramPath, kTool);
  EXPECT_EQ(result.Parameter, "/mode=fast $HOME");
  EXPECT_EQ(result.ActionKey, KeyCodePair{});  // a program rule sends no key
}

TEST_F(HotkeyEditorTest, TheDropButtonTakesProgramsAndShortcutsButNoClick) {
  services_.AddShortcut("C:\\Users\\tester\\Desktop\\Editor.LNK",
                        {"C:\\Tools\\editor.exe", "-n \"a b\""});
  RunEditor([&](SimDialogHost& editor) {
    const int button = CHotkeyDlg::kDropButton;
    editor.Click(button);  // a click on it is no drop
    editor.DropFiles(button, {});
    EXPECT_TRUE(editor.IsChecked(CHotkeyDlg::kSendKeySwitch));
    editor.DropFiles(button, {"C:\\Users\\tester\\Desktop\\Editor.LNK", "C:\\other.exe"});
    EXPECT_TRUE(editor.IsChecked(CHotkeyDlg::kRunProgramSwitch));
    EXPECT_EQ(editor.Text(CHotkeyDlg::kProgramEdit), kTool);
    EXPECT_EQ(editor.Text(CHotkeyDlg::kParameterEdit), "-n \"a b\"");
    editor.DropFiles(button, {"C:\\Games\\game.exe", "C:\\Tools\\editor.exe"});
    EXPECT_EQ(editor.Text(CHotkeyDlg::kProgramEdit), "C:\\Games\\game.exe");
    EXPECT_EQ(editor.Text(CHotkeyDlg::kParameterEdit), "");
  });
}

TEST_F(HotkeyEditorTest, TheListShowsTheRulesAndOkWritesThemBackUnlost) {
  const std::string longPath = "C:\\" + std::string(300, 'p') + ".exe";
  const std::string section =
      "4b/25/1/1/0/0/0/0/0/0=0/41/1e/0/0/1/0/0/0/0/0\r\n"
      "78/43/1/0/0/0/0/0/0/0=1/C:\\Tools\\editor.exe/a$!b$$c $!name=value\r\n"
      "79/44/0/0/0/0/0/0/0/0=1/" +
      longPath +
      "/\r\n"
      "5B/5B/0/0/0/0/0/0/0/0=1/C:\\Windows\\explorer.exe/\r\n"
      "77/42/0/0/0/0/0/0/0/0=2/\r\n";
  WriteRuleFile("[Tastron]\r\nStartup=1\r\n[Hotkey]\r\n" + section);
  RunList([&](SimDialogHost& list) {
    EXPECT_EQ(Rows(list), (std::vector<std::string>{
                              "LCtrl+LAlt+K > LShift+A",
                              "LCtrl+F9 > C:\\Tools\\editor.exe a/b$c /name=value",
                              "F10 > " + list.ListCell(kList, 2, 1),
                              "LWIN > C:\\Windows\\explorer.exe ",
                              "F8 > Tastron 일시 정지 / 다시 시작",
                          }));
    const auto columns = list.ListColumns(kList);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0], (std::pair<std::string, int>{"HOTKEY", 150}));
    EXPECT_EQ(columns[1].first, "실행 키 또는 프로그램");
    // Editing the Windows-key rule opens with the Win boxes cleared and every box disabled.
    list.SelectRows(kList, {3});
    runner_.When(CHotkeyDlg::kTemplateId, [](SimDialogHost& editor) {
      EXPECT_EQ(editor.Text(kHotkeyBox), "LWIN");
      EXPECT_TRUE(editor.IsChecked(CHotkeyDlg::kRunProgramSwitch));
      for (int box : kKeyBoxes) EXPECT_FALSE(editor.IsEnabled(box));
      EXPECT_EQ(editor.Text(CHotkeyDlg::kProgramEdit), "C:\\Windows\\explorer.exe");
      editor.Click(dialog_message::kIdCancel);
    });
    list.Click(CHotkeyListDlg::kEdit);
    // The pause opens as the combo's pause; OK keeps it a pause, whatever the hidden fields.
    list.SelectRows(kList, {4});
    runner_.When(CHotkeyDlg::kTemplateId, [](SimDialogHost& editor) {
      EXPECT_EQ(editor.ComboItem(CHotkeyDlg::kCommandCombo,
                                 editor.ComboSelection(CHotkeyDlg::kCommandCombo)),
                "Tastron 일시 정지 / 다시 시작");
      EXPECT_FALSE(editor.IsChecked(CHotkeyDlg::kSendKeySwitch));
      editor.Click(dialog_message::kIdOk);
    });
    list.Click(CHotkeyListDlg::kEdit);
    list.Click(dialog_message::kIdOk);
  });
  // The long path stays whole, "=" in a parameter survives, digits come back lower-case.
  EXPECT_EQ(RuleFile(),
            "[Tastron]\r\nStartup=1\r\n[Hotkey]\r\n"
            "4b/25/1/1/0/0/0/0/0/0=0/41/1e/0/0/1/0/0/0/0/0\r\n"
            "78/43/1/0/0/0/0/0/0/0=1/C:\\Tools\\editor.exe/a$!b$$c $!name=value\r\n"
            "79/44/0/0/0/0/0/0/0/0=1/" +
                longPath +
                "/\r\n"
                "5b/5b/0/0/0/0/0/0/0/0=1/C:\\Windows\\explorer.exe/\r\n"
                "77/42/0/0/0/0/0/0/0/0=2/\r\n");
}

TEST_F(HotkeyEditorTest, AddRefusesARuleThatSendsItselfAndAsksBeforeReplacing) {
  RunList([&](SimDialogHost& list) {
    runner_.When(CHotkeyDlg::kTemplateId, [](SimDialogHost& editor) {
      Press(editor, kHotkeyBox, kA);
      Press(editor, kActionBox, kA);
      editor.Click(dialog_message::kIdOk);
    });
    services_.AnswerNextMessageBox(message_box::kIdOk);
    list.Click(CHotkeyListDlg::kAdd);
    EXPECT_TRUE(Rows(list).empty());
    NextEditorMakes(kA, true, kA);  // differs in one modifier: accepted
    list.Click(CHotkeyListDlg::kAdd);
    NextEditorMakes(kF9, true, std::nullopt, "x/y");
    list.Click(CHotkeyListDlg::kAdd);
    services_.AnswerNextMessageBox(message_box::kIdNo);
    NextEditorMakes(kA, true, kB);
    list.Click(CHotkeyListDlg::kAdd);
    EXPECT_EQ(Rows(list),
              (std::vector<std::string>{"LCtrl+A > A", "LCtrl+F9 > C:\\Tools\\editor.exe x/y"}));
    services_.AnswerNextMessageBox(message_box::kIdYes);
    NextEditorMakes(kA, true, kB);
    list.Click(CHotkeyListDlg::kAdd);
    EXPECT_EQ(Rows(list),
              (std::vector<std::string>{"LCtrl+F9 > C:\\Tools\\editor.exe x/y", "LCtrl+A > B"}));
    EXPECT_EQ(RuleFile(), "");  // nothing is written before OK
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(),
            "[Hotkey]\r\n78/43/1/0/0/0/0/0/0/0=1/C:\\Tools\\editor.exe/x$!y\r\n"
            "41/1e/1/0/0/0/0/0/0/0=0/42/30/0/0/0/0/0/0/0/0\r\n");
  const auto& shown = services_.MessageBoxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "동일한 키로 맵핑설정을 할 수 없습니다.");
  for (int i : {1, 2}) {
    EXPECT_EQ(shown[i].text, "이미 키기 등록되어 있습니다. \n\n이전 키 설정을 수정하겠습니까 ?");
    EXPECT_EQ(shown[i].caption, "중복 키");
    EXPECT_EQ(shown[i].type, message_box::kYesNo | message_box::kIconQuestion);
  }
}

TEST_F(HotkeyEditorTest, EditAsksBeforeTakingAnotherRowsHotkeyAndKeepsTheOtherKindsFields) {
  WriteRuleFile(
      "[Hotkey]\r\n41/1e/1/0/0/0/0/0/0/0=0/42/30/0/0/0/0/0/0/0/0\r\n"
      "78/43/1/0/0/0/0/0/0/0=1/C:\\Tools\\editor.exe/p\r\n");
  RunList([&](SimDialogHost& list) {
    list.Click(CHotkeyListDlg::kEdit);  // nothing selected: no editor
    list.SelectRows(kList, {1});
    services_.AnswerNextMessageBox(message_box::kIdNo);
    NextEditorMakes(kA, true, kB);
    EXPECT_EQ(list.Notify(kList, control_notification::kDoubleClick), 0);
    EXPECT_EQ(Rows(list)[1], "LCtrl+F9 > C:\\Tools\\editor.exe p");
    services_.AnswerNextMessageBox(message_box::kIdYes);
    NextEditorMakes(kA, true, kB);
    list.Click(CHotkeyListDlg::kEdit);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"LCtrl+A > B"}));
    // Back to a program: the editor still holds the path the rule had.
    list.SelectRows(kList, {0});
    runner_.When(CHotkeyDlg::kTemplateId, [](SimDialogHost& editor) {
      EXPECT_EQ(editor.Text(CHotkeyDlg::kProgramEdit), kTool);
      editor.Click(CHotkeyDlg::kRunProgramSwitch);
      editor.Click(dialog_message::kIdOk);
    });
    list.Click(CHotkeyListDlg::kEdit);
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(services_.MessageBoxes().size(), 2u);
  EXPECT_EQ(RuleFile(), "[Hotkey]\r\n41/1e/1/0/0/0/0/0/0/0=1/C:\\Tools\\editor.exe/p\r\n");
}

TEST_F(HotkeyEditorTest, DeleteRemovesTheSelectedRulesAtOnceAndOnlyTheDeleteKeyDeletes) {
  std::string section = "[Hotkey]\r\n";
  for (int i = 0; i < 400; ++i) {  // far beyond a 4096-byte buffer
    char line[80];
    std::snprintf(line, sizeof line, "%02x/%02x/0/0/0/0/0/0/0/0=1/C:\\Tools\\t%d.exe/\r\n",
                  0x41 + i % 26, i / 26, i);
    section += line;
  }
  ASSERT_GT(section.size(), 4096u);
  WriteRuleFile(section);
  const int ended = RunList([&](SimDialogHost& list) {
    EXPECT_EQ(list.ListRowCount(kList), 400);
    list.SelectRows(kList, {0, 1, 399});
    list.Notify(kList, control_notification::kListKeyDown, 0x28);  // Down arrow
    EXPECT_EQ(list.ListRowCount(kList), 400);
    list.Click(CHotkeyListDlg::kDelete);
    EXPECT_EQ(list.ListRowCount(kList), 397);
    list.SelectRows(kList, {0});
    list.Notify(kList, control_notification::kListKeyDown, 0x2E);
    EXPECT_EQ(list.ListRowCount(kList), 396);
  });
  EXPECT_EQ(ended, dialog_message::kIdCancel);
  const std::string file = RuleFile();
  for (const char* gone : {"t0.exe", "t1.exe", "t2.exe", "t399.exe"}) {
    EXPECT_EQ(file.find(std::string("\\") + gone), std::string::npos) << gone;
  }
  EXPECT_NE(file.find("\\t3.exe"), std::string::npos);
  EXPECT_NE(file.find("\\t398.exe"), std::string::npos);
}

// R (LCtrl+F9) is edited to LCtrl+F8, taking the place of S; deleting R then takes R's own
// line out of the file, the one it was read from, and S's line stays until OK.
TEST_F(HotkeyEditorTest, DeleteAfterEditRemovesTheLineTheRowWasReadFrom) {
  constexpr Key kF8{0x77, 0x42};
  WriteRuleFile(
      "[Hotkey]\r\n78/43/1/0/0/0/0/0/0/0=1/C:\\Tools\\editor.exe/r\r\n"
      "77/42/1/0/0/0/0/0/0/0=1/C:\\Tools\\editor.exe/s\r\n");
  RunList([&](SimDialogHost& list) {
    list.SelectRows(kList, {0});
    services_.AnswerNextMessageBox(message_box::kIdYes);
    NextEditorMakes(kF8, true, std::nullopt, "r");
    list.Click(CHotkeyListDlg::kEdit);
    ASSERT_EQ(Rows(list), (std::vector<std::string>{"LCtrl+F8 > C:\\Tools\\editor.exe r"}));
    list.SelectRows(kList, {0});
    list.Click(CHotkeyListDlg::kDelete);
  });
  EXPECT_EQ(RuleFile(), "[Hotkey]\r\n77/42/1/0/0/0/0/0/0/0=1/C:\\Tools\\editor.exe/s\r\n");
}

// What the library does not take as a rule is no row: an empty value, a key it never looks up
// ("41/1e" without flags), a second line of a key. They stay as they stood, and no kept line
// can change the first one's rule.
TEST_F(HotkeyEditorTest, LinesTheListCannotShowStayAsTheyStood) {
  const std::string section =
      "[Hotkey]\r\n41/1e/1/0/0/0/0/0/0/0=\r\n"
      "42/30/1/0/0/0/0/0/0/0=0/43/2e/0/0/0/0/0/0/0/0\r\n"
      "42/30/1/0/0/0/0/0/0/0=\r\n"
      "43/2e=0/44/20/0/0/0/0/0/0/0/0\r\n";
  WriteRuleFile(section);
  RunList([&](SimDialogHost& list) {
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"LCtrl+B > C"}));
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(), section);
  // A rule the user adds for a key whose line meant nothing takes that key over.
  RunList([&](SimDialogHost& list) {
    NextEditorMakes(kA, true, kB);
    list.Click(CHotkeyListDlg::kAdd);
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(),
            "[Hotkey]\r\n42/30/1/0/0/0/0/0/0/0=0/43/2e/0/0/0/0/0/0/0/0\r\n"
            "42/30/1/0/0/0/0/0/0/0=\r\n"
            "43/2e=0/44/20/0/0/0/0/0/0/0/0\r\n"
            "41/1e/1/0/0/0/0/0/0/0=0/42/30/0/0/0/0/0/0/0/0\r\n");
}

TEST_F(HotkeyEditorTest, OkThatCannotWriteSaysSoAndTheOldRulesStay) {
  const std::string before = "[Hotkey]\r\n41/1e/1/0/0/0/0/0/0/0=0/42/30/0/0/0/0/0/0/0/0\r\n";
  WriteRuleFile(before);
  services_.FailWritesTo(kRuleFile, 0);
  RunList([&](SimDialogHost& list) {
    NextEditorMakes(kF9, true, kB);
    list.Click(CHotkeyListDlg::kAdd);
    services_.AnswerNextMessageBox(message_box::kIdOk);
    list.Click(dialog_message::kIdOk);
    EXPECT_FALSE(list.Ended());
  });
  EXPECT_EQ(RuleFile(), before);
  EXPECT_EQ(Messages(), (std::vector<std::string>{std::string(kRulesNotWritten) + kRuleFile}));
}

// Windows takes "/" in a path as "\\", but in the rule file "/" ends the field: the path is
// stored with "\\". The rule file is in the ANSI code page: what it cannot hold goes as the
// short form, and what has none is refused, never stored with "?" or a look-alike.
TEST_F(HotkeyEditorTest, AProgramIsStoredAsTheRuleFileCanHoldIt) {
  const std::string korean = "C:\\도구\\editor.exe";
  MakeProgram(korean);
  services_.AddShortForm("C:\\도구", "C:\\DOGU~1");
  const auto save = [&](const std::string& program, const std::string& parameter) {
    HotkeyEntry result;
    const int ended = RunEditor(
        [&](SimDialogHost& editor) {
          Press(editor, kHotkeyBox, kF9);
          editor.Click(CHotkeyDlg::kRunProgramSwitch);
          editor.Type(CHotkeyDlg::kProgramEdit, program);
          editor.Type(CHotkeyDlg::kParameterEdit, parameter);
          editor.Click(dialog_message::kIdOk);
        },
        &result);
    return ended == dialog_message::kIdOk ? result.ProgramPath + "|" + result.Parameter : "open";
  };
  EXPECT_EQ(save("C:/Tools/editor.exe", "a/b"), "C:\\Tools\\editor.exe|a/b");
  services_.SetCodePage(FakeServices::CodePage::Western);
  EXPECT_EQ(save(korean, "C:\\도구"), "C:\\DOGU~1\\editor.exe|C:\\DOGU~1");
  services_.AnswerNextMessageBox(message_box::kIdOk);
  EXPECT_EQ(save(korean, "안녕"), "open");
  EXPECT_EQ(Messages().back(), kParameterNotStorable);
  services_.SetCodePage(FakeServices::CodePage::Korean);
  EXPECT_EQ(save(korean, "안녕"), korean + "|안녕");
  // No short form (short names switched off on that drive): refused, the dialog stays open.
  MakeProgram("C:\\사진\\café.exe");
  services_.AnswerNextMessageBox(message_box::kIdOk);
  EXPECT_EQ(save("C:\\사진\\café.exe", ""), "open");
  EXPECT_EQ(Messages().back(), kPathNotStorable);
}

// The program box shows a long path shortened; a Korean one must come back whole at OK, not
// as the shortened text with a character cut in two.
TEST_F(HotkeyEditorTest, ALongKoreanProgramPathComesBackWholeAtOk) {
  services_.SetCodePage(FakeServices::CodePage::Korean);
  std::string name;
  for (int i = 0; i < 70; ++i) name += "편";
  const std::string path = "C:\\Tools\\" + name + ".exe";
  std::ofstream(services_.HostPath(path)) << "MZ";
  HotkeyEntry rule;
  rule.Key = {0x78, 0x43};
  rule.RunsProgram = true;
  rule.ProgramPath = path;
  HotkeyEntry result;
  const int ended = RunEditor(
      [&](SimDialogHost& editor) {
        EXPECT_NE(editor.Text(CHotkeyDlg::kProgramEdit), path);  // shown shortened
        editor.Click(dialog_message::kIdOk);
      },
      &result, &rule);
  EXPECT_EQ(ended, dialog_message::kIdOk);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(result.ProgramPath, path);
}

}  // namespace
