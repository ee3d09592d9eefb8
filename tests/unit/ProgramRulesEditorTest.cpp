#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "editors/CHotkeyDlg.h"
#include "editors/CHotkeyListDlg.h"
#include "editors/CKeyChangeDlg.h"
#include "editors/CKeyChangeListDlg.h"
#include "editors/CMouseMapDlg.h"
#include "editors/CProgramPickDlg.h"
#include "editors/ProgramChoice.h"
#include "editors/ProgramSections.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogHost.h"
#include "tests/unit/RuleEditorTest.h"
#include "ui/CUtilityLib.h"

// The rule editors on one program's rules: the drop-down above the rules, each program's rows
// kept while the user switches, the exceptions a program may have, and OK writing only what
// changed, all sections in one step.

namespace {

constexpr const char* kTool = "C:\\Tools\\tool.exe";
constexpr int kList = CRuleListDlg::kList;
constexpr int kChoice = ProgramChoice::kCombo;
constexpr int kOk = dialog_message::kIdOk;

constexpr Key kA{0x41, 0x1E}, kB{0x42, 0x30}, kCaps{0x14, 0x3A}, kF9{0x78, 0x43};

class ProgramRulesEditorTest : public RuleEditorTest {
 protected:
  void SetUp() override {
    RuleEditorTest::SetUp();
    MakeProgram(kTool);
  }
  static std::vector<std::string> Choices(SimDialogHost& dialog) {
    std::vector<std::string> items;
    for (int i = 0; i < dialog.ComboItemCount(kChoice); ++i) {
      items.push_back(dialog.ComboItem(kChoice, i));
    }
    return items;
  }
  static void Choose(SimDialogHost& dialog, const std::string& item) {
    for (int i = 0; i < dialog.ComboItemCount(kChoice); ++i) {
      if (dialog.ComboItem(kChoice, i) == item) return dialog.PickComboItem(kChoice, i);
    }
    FAIL() << "no entry " << item;
  }
  static std::string Chosen(SimDialogHost& dialog) {
    return dialog.ComboItem(kChoice, dialog.ComboSelection(kChoice));
  }
  // The next "프로그램 추가": the program file found with "찾아보기...", then OK; nullopt: the
  // user cancels it.
  void NextProgramPick(std::optional<std::string> browsed) {
    runner_.When(CProgramPickDlg::kTemplateId, [this, browsed](SimDialogHost& pick) {
      if (!browsed) return pick.Click(dialog_message::kIdCancel);
      services_.AnswerNextChooser(*browsed);
      pick.Click(CProgramPickDlg::kBrowse);
      pick.Click(kOk);
    });
  }
  // The next key map editor: From, then To (or "원래 키"), then OK.
  void NextKeyMapEditor(Key from, std::optional<Key> to) {
    runner_.When(CKeyChangeDlg::kTemplateId, [=](SimDialogHost& editor) {
      Press(editor, CKeyChangeDlg::kFrom, from);
      if (to) {
        Press(editor, CKeyChangeDlg::kTo, *to);
      } else {
        editor.Click(CKeyChangeDlg::kOriginalKey);
      }
      editor.Click(kOk);
    });
  }
};

TEST(ProgramSectionsTest, ProgramsOfAKindAreFoundOnceByNameWhateverTheLetterCase) {
  const std::vector<std::string> sections = {
      "KeyChange",         "keychange:Notepad.exe", "Hotkey:excel.exe", "KEYCHANGE:notepad.EXE",
      "KeyChange:app.exe", "KeyChangeX:other.exe",  "KeyChange:",       "Tastron"};
  const SimProgramNameText names;
  EXPECT_EQ(ProgramsWithSections(names, sections, "KeyChange"),
            (std::vector<std::string>{"app.exe", "Notepad.exe"}));
  EXPECT_EQ(ProgramsWithSections(names, sections, "Hotkey"),
            (std::vector<std::string>{"excel.exe"}));
  EXPECT_EQ(ProgramSectionsOf(names, sections, {"Hotkey", "MouseMap2"}),
            (std::vector<std::string>{"Hotkey:excel.exe"}));
  EXPECT_EQ(ProgramSection("KeyChange", ""), "KeyChange");
  EXPECT_EQ(ProgramOfPath("C:\\Program Files\\Tool\\Tool.exe"), "Tool.exe");
  EXPECT_FALSE(CanNameSection("a]b.exe"));
  EXPECT_FALSE(CanNameSection(" "));
  EXPECT_TRUE(CanNameSection("메모장.exe"));
}

TEST_F(ProgramRulesEditorTest, KeyMapListShowsEachProgramsRulesAndKeepsThemWhileSwitching) {
  WriteRuleFile(
      "[KeyChange]\n41/1e=42/30\n[KeyChange:Notepad.exe]\n14/3a=a2/1d\n41/1e=\n"
      "[Hotkey:excel.exe]\n78/43/0/0/0/0/0/0/0/0=\n[KeyChange:app.exe]\n42/30=41/1e\n");
  const int result = RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
    EXPECT_EQ(Choices(list), (std::vector<std::string>{"모든 프로그램", "app.exe", "Notepad.exe",
                                                       "프로그램 추가..."}));
    EXPECT_EQ(Chosen(list), "모든 프로그램");
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"A > B"}));
    Choose(list, "Notepad.exe");
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"CAPSLOCK > LCONTROL", "A > (원래 키)"}));
    // A rule added for the program stays with it while the user looks elsewhere.
    NextKeyMapEditor(kB, std::nullopt);
    list.Click(CKeyChangeListDlg::kAdd);
    Choose(list, "모든 프로그램");
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"A > B"}));
    Choose(list, "app.exe");  // looked at, not changed
    Choose(list, "Notepad.exe");
    EXPECT_EQ(Rows(list),
              (std::vector<std::string>{"CAPSLOCK > LCONTROL", "A > (원래 키)", "B > (원래 키)"}));
    EXPECT_EQ(RuleFile().find("42/30=\n"), std::string::npos);  // nothing before OK
    list.Click(kOk);
  });
  EXPECT_EQ(result, kOk);
  EXPECT_EQ(RuleFile(),
            "[KeyChange]\n41/1e=42/30\n[KeyChange:Notepad.exe]\n14/3a=a2/1d\n41/1e=\n42/30=\n"
            "[Hotkey:excel.exe]\n78/43/0/0/0/0/0/0/0/0=\n[KeyChange:app.exe]\n42/30=41/1e\n");
}

TEST_F(ProgramRulesEditorTest, KeyMapEditorOffersTheOriginalKeyOnlyForAProgram) {
  WriteRuleFile("[KeyChange:game.exe]\n5b/5b=\n");
  RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
    runner_.When(CKeyChangeDlg::kTemplateId, [&](SimDialogHost& editor) {
      EXPECT_FALSE(editor.IsControlShown(CKeyChangeDlg::kOriginalKey));
      editor.Click(dialog_message::kIdCancel);
    });
    list.Click(CKeyChangeListDlg::kAdd);
    Choose(list, "game.exe");
    list.SelectRows(kList, {0});
    runner_.When(CKeyChangeDlg::kTemplateId, [&](SimDialogHost& editor) {
      EXPECT_TRUE(editor.IsControlShown(CKeyChangeDlg::kOriginalKey));
      EXPECT_EQ(editor.Text(CKeyChangeDlg::kTo), "(원래 키)");
      // A key pressed in To takes the place of the original key.
      Press(editor, CKeyChangeDlg::kTo, kA);
      editor.Click(kOk);
    });
    list.Click(CKeyChangeListDlg::kEdit);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"LWIN > A"}));
    list.Click(kOk);
  });
  EXPECT_EQ(RuleFile(), "[KeyChange:game.exe]\n5b/5b=41/1e\n");
}

TEST_F(ProgramRulesEditorTest, AProgramIsAddedByItsFileNameOnlyAndItsEmptiedSectionGoes) {
  WriteRuleFile("[KeyChange:notepad.exe]\n41/1e=42/30\n");
  RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
    NextProgramPick(std::nullopt);  // cancelled: the choice stays
    Choose(list, "프로그램 추가...");
    EXPECT_EQ(Chosen(list), "모든 프로그램");
    NextProgramPick("C:\\Program Files\\Office\\EXCEL.EXE");
    Choose(list, "프로그램 추가...");
    EXPECT_EQ(Chosen(list), "EXCEL.EXE");
    EXPECT_EQ(Choices(list), (std::vector<std::string>{"모든 프로그램", "EXCEL.EXE", "notepad.exe",
                                                       "프로그램 추가..."}));
    EXPECT_TRUE(Rows(list).empty());
    NextKeyMapEditor(kCaps, Key{0xA2, 0x1D});
    list.Click(CKeyChangeListDlg::kAdd);
    // A program already listed, in other letters, is chosen, not added twice.
    NextProgramPick("D:\\NOTEPAD.exe");
    Choose(list, "프로그램 추가...");
    EXPECT_EQ(Chosen(list), "notepad.exe");
    EXPECT_EQ(list.ComboItemCount(kChoice), 4);
    list.SelectRows(kList, {0});
    list.Click(CKeyChangeListDlg::kDelete);  // out of the file at once, its section with it
    EXPECT_EQ(RuleFile(), "");
    list.Click(kOk);
  });
  EXPECT_EQ(RuleFile(), "[KeyChange:EXCEL.EXE]\r\n14/3a=a2/1d\r\n");
  ASSERT_GE(services_.WindowCalls().size(), 1u);
  EXPECT_EQ(services_.WindowCalls().front(), "chooser open 프로그램 선택");
}

// A program with tap-hold rules alone is listed; its page shows them beside its [KeyChange:…]
// rows (an empty value keeps the key itself there too), a key that stays itself when tapped
// may be given a hold, and deleting the last rows takes both sections out of the file.
TEST_F(ProgramRulesEditorTest, AProgramsTapHoldRulesShareItsPage) {
  const std::string before =
      "[TapHold:notepad.exe]\n14/3a=15/f2/a2/1d/250\n41/1e=\n[Hotkey:excel.exe]\nx=\n";
  WriteRuleFile(before + "[KeyChange:notepad.exe]\n42/30=43/2e\n");
  RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
    EXPECT_EQ(Choices(list),
              (std::vector<std::string>{"모든 프로그램", "notepad.exe", "프로그램 추가..."}));
    Choose(list, "notepad.exe");
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"CAPSLOCK > HANGUL · 길게: LCONTROL",
                                                    "A > (원래 키)", "B > C"}));
    runner_.When(CKeyChangeDlg::kTemplateId, [](SimDialogHost& editor) {
      Press(editor, CKeyChangeDlg::kFrom, kF9);
      editor.Click(CKeyChangeDlg::kOriginalKey);
      editor.ClickCheckBox(CKeyChangeDlg::kHoldBox);
      Press(editor, CKeyChangeDlg::kHold, kA);
      editor.Click(kOk);
    });
    list.Click(CKeyChangeListDlg::kAdd);
    list.Click(kOk);
  });
  EXPECT_EQ(RuleFile(),
            "[TapHold:notepad.exe]\n14/3a=15/f2/a2/1d/250\n41/1e=\n78/43=78/43/41/1e/200\n"
            "[Hotkey:excel.exe]\nx=\n[KeyChange:notepad.exe]\n42/30=43/2e\n");
  RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
    Choose(list, "notepad.exe");
    list.SelectRows(kList, {0, 1, 2, 3});
    list.Click(CKeyChangeListDlg::kDelete);
  });
  EXPECT_EQ(RuleFile(), "[Hotkey:excel.exe]\nx=\n");
}

// "프로그램 추가" offers the running programs, the one used last first; a click fills in the
// name, a double click takes it at once, and a typed name or path counts by its file name.
TEST_F(ProgramRulesEditorTest, AProgramIsAddedFromTheRunningOnesOrByATypedName) {
  services_.SetRunningPrograms({{"EXCEL.EXE", "통합 문서1 - Excel"},
                                {"CalculatorApp.exe", "계산기"},
                                {"notepad.exe", "제목 없음 - 메모장"}});
  const struct {
    std::function<void(SimDialogHost&)> user;
    const char* chosen;  // nullptr: the choice stays
    const char* told;    // the message of an OK refused, or nullptr
  } rows[] = {
      {[](SimDialogHost& pick) {
         pick.ClickListCell(CProgramPickDlg::kRunning, 1, 1);
         EXPECT_EQ(pick.Text(CProgramPickDlg::kName), "CalculatorApp.exe");
         pick.Click(kOk);
       },
       "CalculatorApp.exe", nullptr},
      {[](SimDialogHost& pick) { pick.DoubleClickListCell(CProgramPickDlg::kRunning, 2, 0); },
       "notepad.exe", nullptr},
      {[](SimDialogHost& pick) {
         pick.Type(CProgramPickDlg::kName, "  D:\\Games\\game.exe ");
         pick.Click(kOk);
       },
       "game.exe", nullptr},
      {[](SimDialogHost& pick) { pick.Click(kOk); }, nullptr,
       "프로그램을 목록에서 고르거나 파일 이름을 입력하십시오."},
      {[](SimDialogHost& pick) {
         pick.Type(CProgramPickDlg::kName, "a]b.exe");
         pick.Click(kOk);
       },
       nullptr, "이 파일 이름으로는 프로그램별 설정을 만들 수 없습니다.\n\na]b.exe"},
  };
  for (const auto& row : rows) {
    RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
      runner_.When(CProgramPickDlg::kTemplateId, [&](SimDialogHost& pick) {
        EXPECT_EQ(pick.ListCell(CProgramPickDlg::kRunning, 0, 0), "EXCEL.EXE");
        EXPECT_EQ(pick.ListCell(CProgramPickDlg::kRunning, 0, 1), "통합 문서1 - Excel");
        EXPECT_EQ(pick.ListRowCount(CProgramPickDlg::kRunning), 3);
        if (row.told != nullptr) services_.AnswerNextMessageBox(message_box::kIdOk);
        row.user(pick);
        if (row.told != nullptr) {
          EXPECT_FALSE(pick.Ended());
          EXPECT_EQ(services_.LastMessageBox().text, row.told);
          pick.Click(dialog_message::kIdCancel);
        }
      });
      Choose(list, "프로그램 추가...");
      EXPECT_EQ(Chosen(list), row.chosen != nullptr ? row.chosen : "모든 프로그램");
    });
  }
}

// Program names compare as Windows compares file names, on every code page; a program whose
// name the code page cannot hold is refused, as its section could not be written. Rows: code
// page, the program typed, the entry then chosen ("" for refused).
TEST_F(ProgramRulesEditorTest, ProgramsAreKnownWhateverTheLetterCaseAndNeedANameTheCodePageHolds) {
  struct Row {
    SimCodePage codePage;
    std::string file;
    std::string chosen;
  };
  const Row rows[] = {
      {SimCodePage::Western, "D:\\éditeur.exe", "ÉDITEUR.EXE"},
      {SimCodePage::Western, "D:\\Œuvre.exe", "Œuvre.exe"},
      {SimCodePage::Western, "D:\\δέλτα.exe", ""},
      {SimCodePage::Korean, "D:\\메모.EXE", "메모.exe"},
      {SimCodePage::Korean, "D:\\ÉDITEUR.exe", ""},
      {SimCodePage::Utf8, "D:\\δέλτα.exe", "ΔΈΛΤΑ.exe"},
      {SimCodePage::Utf8, "D:\\Проводник.exe", "Проводник.exe"},
  };
  WriteRuleFile(
      "[KeyChange:메모.exe]\n41/1e=\n[KeyChange:ÉDITEUR.EXE]\n41/1e=42/30\n"
      "[KeyChange:éditeur.exe]\n43/2e=44/20\n[KeyChange:ΔΈΛΤΑ.exe]\n41/1e=\n");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    services_.SetCodePage(row.codePage);
    const std::size_t messages = services_.MessageBoxes().size();
    RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
      // One entry for the two spellings of one program, in the order of their names' keys.
      EXPECT_EQ(Choices(list),
                (std::vector<std::string>{"모든 프로그램", "ÉDITEUR.EXE", "ΔΈΛΤΑ.exe", "메모.exe",
                                          "프로그램 추가..."}));
      runner_.When(CProgramPickDlg::kTemplateId, [&](SimDialogHost& pick) {
        pick.Type(CProgramPickDlg::kName, row.file);
        if (row.chosen.empty()) services_.AnswerNextMessageBox(message_box::kIdOk);
        pick.Click(kOk);
        if (row.chosen.empty()) {
          EXPECT_FALSE(pick.Ended());
          EXPECT_EQ(services_.LastMessageBox().text,
                    CProgramPickDlg::kUnusableName + ProgramOfPath(row.file));
          pick.Click(dialog_message::kIdCancel);
        }
      });
      Choose(list, "프로그램 추가...");
      EXPECT_EQ(Chosen(list), row.chosen.empty() ? "모든 프로그램" : row.chosen);
      list.Click(dialog_message::kIdCancel);
    });
    EXPECT_EQ(services_.MessageBoxes().size(), messages + (row.chosen.empty() ? 1 : 0));
  }
}

TEST_F(ProgramRulesEditorTest, CancelForgetsEveryProgramsChanges) {
  WriteRuleFile("[KeyChange:notepad.exe]\n41/1e=42/30\n");
  RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
    Choose(list, "notepad.exe");
    NextKeyMapEditor(kB, kA);
    list.Click(CKeyChangeListDlg::kAdd);
    Choose(list, "모든 프로그램");
    NextKeyMapEditor(kA, kB);
    list.Click(CKeyChangeListDlg::kAdd);
  });
  EXPECT_EQ(RuleFile(), "[KeyChange:notepad.exe]\n41/1e=42/30\n");
  // Delete writes at once, so Cancel cannot bring the rule back; it leaves no empty section,
  // which would keep the program listed and counted as having rules.
  RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
    Choose(list, "notepad.exe");
    list.SelectRows(kList, {0});
    list.Click(CKeyChangeListDlg::kDelete);
  });
  EXPECT_EQ(RuleFile(), "");
}

TEST_F(ProgramRulesEditorTest, ARuleFileThatCannotBeWrittenKeepsEveryProgramsOldRules) {
  WriteRuleFile("[KeyChange]\n41/1e=42/30\n");
  services_.FailWritesTo(kRuleFile, 0);
  NextProgramPick("C:\\x\\notepad.exe");
  RunDialog<CKeyChangeListDlg>([&](SimDialogHost& list) {
    Choose(list, "프로그램 추가...");
    NextKeyMapEditor(kB, std::nullopt);
    list.Click(CKeyChangeListDlg::kAdd);
    services_.AnswerNextMessageBox(message_box::kIdOk);
    list.Click(kOk);
    EXPECT_FALSE(list.Ended());  // it says so and stays open
    ASSERT_EQ(services_.MessageBoxes().size(), 1u);
    EXPECT_NE(services_.MessageBoxes()[0].text.find("쓰지 못했습니다"), std::string::npos);
  });
  EXPECT_EQ(RuleFile(), "[KeyChange]\n41/1e=42/30\n");
}

TEST_F(ProgramRulesEditorTest, AProgramsHotkeyMayDoNothingThere) {
  WriteRuleFile(
      "[Hotkey]\n78/43/0/0/0/0/0/0/0/0=1/C:\\Tools\\tool.exe/\n"
      "[Hotkey:excel.exe]\n78/43/0/0/0/0/0/0/0/0=\n");
  RunDialog<CHotkeyListDlg>([&](SimDialogHost& list) {
    // An empty value is no rule for all programs: kept as it stands, not shown.
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"F9 > C:\\Tools\\tool.exe "}));
    runner_.When(CHotkeyDlg::kTemplateId, [&](SimDialogHost& editor) {
      EXPECT_FALSE(editor.IsControlShown(CHotkeyDlg::kDisabledSwitch));
      editor.Click(dialog_message::kIdCancel);
    });
    list.Click(CHotkeyListDlg::kAdd);
    Choose(list, "excel.exe");
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"F9 > (사용 안 함)"}));
    list.SelectRows(kList, {0});
    runner_.When(CHotkeyDlg::kTemplateId, [&](SimDialogHost& editor) {
      EXPECT_TRUE(editor.IsControlShown(CHotkeyDlg::kDisabledSwitch));
      EXPECT_TRUE(editor.IsChecked(CHotkeyDlg::kDisabledSwitch));
      EXPECT_FALSE(editor.IsEnabled(CHotkeyDlg::kActionKeyBox));
      EXPECT_FALSE(editor.IsEnabled(CHotkeyDlg::kProgramEdit));
      editor.Click(CHotkeyDlg::kSendKeySwitch);
      EXPECT_FALSE(editor.IsChecked(CHotkeyDlg::kDisabledSwitch));
      Press(editor, CHotkeyDlg::kActionKeyBox, kA);
      editor.Click(kOk);
    });
    list.Click(CHotkeyListDlg::kEdit);
    runner_.When(CHotkeyDlg::kTemplateId, [&](SimDialogHost& editor) {
      Press(editor, CHotkeyDlg::kHotkeyBox, kA);
      editor.Click(CHotkeyDlg::kDisabledSwitch);
      editor.Click(kOk);  // no action key needed
    });
    list.Click(CHotkeyListDlg::kAdd);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"F9 > A", "A > (사용 안 함)"}));
    list.Click(kOk);
  });
  EXPECT_EQ(RuleFile(),
            "[Hotkey]\n78/43/0/0/0/0/0/0/0/0=1/C:\\Tools\\tool.exe/\n"
            "[Hotkey:excel.exe]\n78/43/0/0/0/0/0/0/0/0=0/41/1e/0/0/0/0/0/0/0/0\n"
            "41/1e/0/0/0/0/0/0/0/0=\n");
}

// A program without a `Mapped` of its own follows the rule for all programs, and is not listed
// (a `KeyState` alone is no rule); a program that decided can go back, which removes its section.
TEST_F(ProgramRulesEditorTest, MiddleButtonFollowsAllProgramsUntilAProgramDecidesAndBack) {
  WriteRuleFile(
      "[MouseMap2]\nKeyState=1/0/0/0/0/0\nMapped=0/41/1e/0/0/0/0/0/0/0/0\n"
      "[MouseMap2:paint.exe]\nMapped=\n[MouseMap2:game.exe]\nKeyState=0/0/0/0/0/0\n");
  RunDialog<CMouseMapDlg>([&](SimDialogHost& editor) {
    EXPECT_EQ(Choices(editor),
              (std::vector<std::string>{"모든 프로그램", "paint.exe", "프로그램 추가..."}));
    EXPECT_TRUE(editor.IsChecked(CMouseMapDlg::kKeyAction));
    EXPECT_FALSE(editor.IsControlShown(CMouseMapDlg::kFollowAll));
    Choose(editor, "paint.exe");  // an empty Mapped: no action there
    EXPECT_TRUE(editor.IsChecked(CMouseMapDlg::kNotSet));
    EXPECT_TRUE(editor.IsControlShown(CMouseMapDlg::kFollowAll));
    EXPECT_FALSE(editor.IsChecked(CMouseMapDlg::kFollowAll));
    EXPECT_EQ(editor.Text(CMouseMapDlg::kKeyBox), "");
    editor.ClickCheckBox(CMouseMapDlg::kFollowAll);  // back to the rule for all programs
    NextProgramPick("C:\\Games\\game.exe");
    Choose(editor, "프로그램 추가...");  // no Mapped: the rule for all programs applies
    for (int id : {CMouseMapDlg::kKeyAction, CMouseMapDlg::kProgramAction, CMouseMapDlg::kNotSet}) {
      EXPECT_FALSE(editor.IsChecked(id)) << id;
    }
    EXPECT_TRUE(editor.IsChecked(CMouseMapDlg::kFollowAll));
    EXPECT_FALSE(editor.IsEnabled(CMouseMapDlg::kKeyBox));
    editor.ClickCheckBox(CMouseMapDlg::kNotSet);
    EXPECT_FALSE(editor.IsChecked(CMouseMapDlg::kFollowAll));
    Choose(editor, "paint.exe");  // its choice was kept while another was shown
    EXPECT_TRUE(editor.IsChecked(CMouseMapDlg::kFollowAll));
    Choose(editor, "모든 프로그램");
    EXPECT_EQ(editor.Text(CMouseMapDlg::kKeyBox), "A");
    editor.ClickCheckBox(CMouseMapDlg::kNotSet);  // for all programs: the section goes
    editor.Click(kOk);
  });
  EXPECT_EQ(RuleFile(), "[MouseMap2:game.exe]\nMapped=\n");
}

TEST_F(ProgramRulesEditorTest, AnIncompleteProgramRuleIsShownWithItsMessageAndNothingWritten) {
  WriteRuleFile("[MouseMap2]\nKeyState=0/0/0/0/0/0\nMapped=1/C:\\Tools\\tool.exe/\n");
  NextProgramPick("C:\\Apps\\paint.exe");
  RunDialog<CMouseMapDlg>([&](SimDialogHost& editor) {
    Choose(editor, "프로그램 추가...");
    editor.ClickCheckBox(CMouseMapDlg::kKeyAction);  // no key pressed
    Choose(editor, "모든 프로그램");
    EXPECT_TRUE(editor.IsChecked(CMouseMapDlg::kProgramAction));
    services_.AnswerNextMessageBox(message_box::kIdOk);
    editor.Click(kOk);
    EXPECT_FALSE(editor.Ended());
    EXPECT_EQ(Chosen(editor), "paint.exe");
    EXPECT_TRUE(editor.IsChecked(CMouseMapDlg::kKeyAction));
    ASSERT_EQ(services_.MessageBoxes().size(), 1u);
    EXPECT_EQ(services_.MessageBoxes()[0].text, CMouseMapDlg::kNoKey);
    Press(editor, CMouseMapDlg::kKeyBox, kF9);
    editor.ClickCheckBox(1027);  // with left Ctrl
    editor.Click(kOk);
    EXPECT_TRUE(editor.Ended());
  });
  EXPECT_EQ(RuleFile(),
            "[MouseMap2]\nKeyState=0/0/0/0/0/0\nMapped=1/C:\\Tools\\tool.exe/\n"
            "[MouseMap2:paint.exe]\nKeyState=1/0/0/0/0/0\nMapped=0/78/43/0/0/0/0/0/0/0/0\n");
}

}  // namespace
