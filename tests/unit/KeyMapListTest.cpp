#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "editors/CKeyChangeDlg.h"
#include "editors/CKeyChangeListDlg.h"
#include "editors/RuleFileWrite.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogHost.h"
#include "tests/unit/RuleEditorTest.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr int kList = CKeyChangeListDlg::kList;
constexpr Key kA{0x41, 0x1E}, kB{0x42, 0x30}, kC{0x43, 0x2E}, kD{0x44, 0x20}, kE{0x45, 0x12};
constexpr Key kCaps{0x14, 0x3A}, kLeftCtrl{0xA2, 0x1D}, kLeftButton{0x00, 0x10};
constexpr int kHoldBox = CKeyChangeDlg::kHoldBox;
constexpr int kHold = CKeyChangeDlg::kHold;
constexpr int kHoldTime = CKeyChangeDlg::kHoldTime;

class KeyMapListTest : public RuleEditorTest {
 protected:
  // Runs the list; `user` acts while it is open; Cancel when the user left it open.
  int RunList(const std::function<void(SimDialogHost&)>& user) {
    return RunDialog<CKeyChangeListDlg>(user);
  }
  // The next editor: the user presses From, then To, and confirms.
  void NextEditorTakes(Key from, Key to) {
    runner_.When(CKeyChangeDlg::kTemplateId, [from, to](SimDialogHost& editor) {
      Press(editor, CKeyChangeDlg::kFrom, from);
      Press(editor, CKeyChangeDlg::kTo, to);
      editor.Click(dialog_message::kIdOk);
    });
  }
  // The next editor: From, To, "길게 누르면" checked, the hold key (if any) and the time typed,
  // then OK; an editor that refused stays open until Cancel.
  void NextEditorHolds(Key from, Key to, std::optional<Key> hold, const std::string& ms) {
    runner_.When(CKeyChangeDlg::kTemplateId, [=](SimDialogHost& editor) {
      Press(editor, CKeyChangeDlg::kFrom, from);
      Press(editor, CKeyChangeDlg::kTo, to);
      editor.ClickCheckBox(kHoldBox);
      // A mouse button is not pressed but picked under the hold field.
      if (hold && !hold->virtualKey)
        editor.Click(CKeyChangeDlg::kHoldLeftButton + hold->scanCode - 0x10);
      else if (hold)
        Press(editor, kHold, *hold);
      editor.Type(kHoldTime, ms);
      editor.Click(dialog_message::kIdOk);
      if (!editor.Ended()) editor.Click(dialog_message::kIdCancel);
    });
  }
};

TEST_F(KeyMapListTest, ShowsEveryRemappingByNameAndWritesItBackInLowerCase) {
  WriteRuleFile(
      "[Tastron]\r\nStartup=1\r\n[KeyChange]\r\n41/1E=42/30\r\n1e/1e=30/30\r\n"
      "a0/2a=00/12\r\n");
  const int result = RunList([&](SimDialogHost& list) {
    EXPECT_EQ(Rows(list),
              (std::vector<std::string>{"A > B", "[1e/1e] > [30/30]", "LSHIFT > RBUTTON"}));
    const auto columns = list.ListColumns(kList);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0], (std::pair<std::string, int>{"누름 키", 150}));
    EXPECT_EQ(columns[1].first, "새 키");
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(result, dialog_message::kIdOk);
  EXPECT_EQ(RuleFile(),
            "[Tastron]\r\nStartup=1\r\n[KeyChange]\r\n41/1e=42/30\r\n1e/1e=30/30\r\n"
            "a0/2a=00/12\r\n");
}

TEST_F(KeyMapListTest, AddRefusesOneKeyOnItselfAndAsksBeforeReplacingARemapping) {
  RunList([&](SimDialogHost& list) {
    NextEditorTakes(kA, kA);
    services_.AnswerNextMessageBox(message_box::kIdOk);
    list.Click(CKeyChangeListDlg::kAdd);
    EXPECT_TRUE(Rows(list).empty());
    NextEditorTakes(kA, kB);
    list.Click(CKeyChangeListDlg::kAdd);
    NextEditorTakes(kC, kD);
    list.Click(CKeyChangeListDlg::kAdd);
    services_.AnswerNextMessageBox(message_box::kIdNo);  // keep A > B
    NextEditorTakes(kA, kE);
    list.Click(CKeyChangeListDlg::kAdd);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"A > B", "C > D"}));
    services_.AnswerNextMessageBox(message_box::kIdYes);
    NextEditorTakes(kA, kE);
    list.Click(CKeyChangeListDlg::kAdd);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"C > D", "A > E"}));
    // An editor closed with Cancel adds nothing.
    runner_.When(CKeyChangeDlg::kTemplateId, [](SimDialogHost& editor) { editor.Click(2); });
    list.Click(CKeyChangeListDlg::kAdd);
    EXPECT_EQ(list.ListRowCount(kList), 2);
    EXPECT_EQ(RuleFile(), "");  // nothing is written before OK
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(), "[KeyChange]\r\n43/2e=44/20\r\n41/1e=45/12\r\n");
  const auto& shown = services_.MessageBoxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "동일한 키로 맵핑설정을 할 수 없습니다.");
  EXPECT_EQ(shown[0].caption, "Tastron");
  EXPECT_EQ(shown[0].type, message_box::kOk);
  for (int i : {1, 2}) {
    EXPECT_EQ(shown[i].text, "이미 키기 등록되어 있습니다. \n\n이전 키 설정을 변경하겠습니까 ?");
    EXPECT_EQ(shown[i].caption, "중복 키");
    EXPECT_EQ(shown[i].type, message_box::kYesNo | message_box::kIconQuestion);
  }
}

TEST_F(KeyMapListTest, EditChangesTheSelectedRowAndAsksBeforeTakingAnotherRowsKey) {
  WriteRuleFile("[KeyChange]\r\n41/1e=42/30\r\n43/2e=44/20\r\n45/12=41/1e\r\n");
  RunList([&](SimDialogHost& list) {
    list.Click(CKeyChangeListDlg::kEdit);  // no selection: no editor (one would be left open)
    list.SelectRows(kList, {1});
    runner_.When(CKeyChangeDlg::kTemplateId, [](SimDialogHost& editor) {
      EXPECT_EQ(editor.Text(CKeyChangeDlg::kFrom), "C");
      EXPECT_EQ(editor.Text(CKeyChangeDlg::kTo), "D");
      editor.PressKey(0x100, 0x43, 0x2E, CKeyChangeDlg::kTo);  // C > C is a valid edit
      editor.Pump();
      editor.Click(dialog_message::kIdOk);
    });
    EXPECT_EQ(list.Notify(kList, control_notification::kDoubleClick), 0);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"A > B", "C > C", "E > A"}));

    // Row 2 takes A, which row 0 has: No leaves both as they were.
    list.SelectRows(kList, {2});
    services_.AnswerNextMessageBox(message_box::kIdNo);
    NextEditorTakes(kA, kD);
    list.Click(CKeyChangeListDlg::kEdit);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"A > B", "C > C", "E > A"}));
    // Yes removes row 0, and the edited row keeps its place.
    services_.AnswerNextMessageBox(message_box::kIdYes);
    NextEditorTakes(kA, kD);
    list.Click(CKeyChangeListDlg::kEdit);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"C > C", "A > D"}));
    // Keeping its own From is no duplicate.
    list.SelectRows(kList, {1});
    NextEditorTakes(kA, kE);
    list.Click(CKeyChangeListDlg::kEdit);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"C > C", "A > E"}));
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(services_.MessageBoxes().size(), 2u);
  EXPECT_EQ(RuleFile(), "[KeyChange]\r\n43/2e=43/2e\r\n41/1e=45/12\r\n");
}

TEST_F(KeyMapListTest, DeleteRemovesEverySelectedRowFromTheFileAtOnceEvenBeforeCancel) {
  WriteRuleFile("[KeyChange]\r\n41/1e=42/30\r\n43/2e=44/20\r\n45/12=41/1e\r\n44/20=42/30\r\n");
  const int result = RunList([&](SimDialogHost& list) {
    list.SelectRows(kList, {0, 1, 3});
    list.Click(CKeyChangeListDlg::kDelete);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"E > A"}));
    EXPECT_EQ(RuleFile(), "[KeyChange]\r\n45/12=41/1e\r\n");
    list.Click(CKeyChangeListDlg::kDelete);  // nothing selected: nothing happens
    EXPECT_EQ(list.ListRowCount(kList), 1);
    NextEditorTakes(kB, kC);
    list.Click(CKeyChangeListDlg::kAdd);
  });
  EXPECT_EQ(result, dialog_message::kIdCancel);
  EXPECT_EQ(RuleFile(), "[KeyChange]\r\n45/12=41/1e\r\n");
}

// A heavy user's section: far beyond 4096 characters, with lines the list cannot show.
TEST_F(KeyMapListTest, OpenAndOkKeepEveryLineOfALongSectionInItsPlace) {
  std::string section;
  const std::vector<std::pair<int, std::string>> unshowable = {
      {0, "nokey=42/30"}, {250, "7f/01=novalue"}, {400, "7f/02=42/30=43/2e"}, {599, "7f/03="}};
  std::size_t next = 0;
  for (int i = 0; i < 600; ++i) {
    if (next < unshowable.size() && unshowable[next].first == i) {
      section += unshowable[next++].second + "\r\n";
    }
    char line[32];
    std::snprintf(line, sizeof line, "%02x/%02x=%02x/%02x\r\n", 0x60 + i / 256, i % 256,
                  0x41 + i % 26, 0x10 + i % 20);
    section += line;
  }
  const std::string before = "[Tastron]\r\nStartup=1\r\n[KeyChange]\r\n" + section;
  ASSERT_GT(section.size(), 4096u);
  WriteRuleFile(before);
  RunList([&](SimDialogHost& list) {
    EXPECT_EQ(list.ListRowCount(kList), 600);
    NextEditorTakes(kA, kB);
    list.Click(CKeyChangeListDlg::kAdd);
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(), before + "41/1e=42/30\r\n");
}

TEST_F(KeyMapListTest, ALineWithoutEqualsSignKeepsItsText) {
  WriteRuleFile("[KeyChange]\r\n41/1e 42/30\r\n43/2e=44/20\r\n");
  RunList([&](SimDialogHost& list) {
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"C > D"}));
    list.Click(dialog_message::kIdOk);
  });
  // The section is written whole, so the line comes back exactly as it stood.
  EXPECT_EQ(RuleFile(), "[KeyChange]\r\n41/1e 42/30\r\n43/2e=44/20\r\n");
}

// R (A > B) is edited to C, taking the place of S (C > D); deleting R then takes R's own line
// out of the file, the one it was read from, and S's line stays until OK.
TEST_F(KeyMapListTest, DeleteAfterEditRemovesTheLineTheRowWasReadFrom) {
  WriteRuleFile("[KeyChange]\r\n41/1e=42/30\r\n43/2e=44/20\r\n");
  RunList([&](SimDialogHost& list) {
    list.SelectRows(kList, {0});
    services_.AnswerNextMessageBox(message_box::kIdYes);
    NextEditorTakes(kC, kB);
    list.Click(CKeyChangeListDlg::kEdit);
    ASSERT_EQ(Rows(list), (std::vector<std::string>{"C > B"}));
    list.SelectRows(kList, {0});
    list.Click(CKeyChangeListDlg::kDelete);
    EXPECT_TRUE(Rows(list).empty());
  });
  EXPECT_EQ(RuleFile(), "[KeyChange]\r\n43/2e=44/20\r\n");
}

// Only the first line of a key counts for the library: a later one is kept where it stands and
// can never overwrite the first; a kept line that would hide a rule the user adds gives way.
TEST_F(KeyMapListTest, KeptLinesKeepTheirPlaceAndNeverChangeWhatARuleMeans) {
  const std::string section = "[KeyChange]\r\n41/1e=42/30\r\n41/1E=\r\n41/1e=43/2e\r\n45/12=\r\n";
  WriteRuleFile(section);
  RunList([&](SimDialogHost& list) {
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"A > B"}));
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(), section);
  RunList([&](SimDialogHost& list) {
    NextEditorTakes(kE, kD);
    list.Click(CKeyChangeListDlg::kAdd);
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(), "[KeyChange]\r\n41/1e=42/30\r\n41/1E=\r\n41/1e=43/2e\r\n45/12=44/20\r\n");
}

// A full disk, a locked or read-only file: OK says so and stays open, and the file keeps every
// old rule (a section is never written half).
TEST_F(KeyMapListTest, OkThatCannotWriteSaysSoAndTheOldRulesStay) {
  const std::string before = "[KeyChange]\r\n41/1e=42/30\r\n43/2e=44/20\r\n";
  WriteRuleFile(before);
  services_.FailWritesTo(kRuleFile, 0);
  const int ended = RunList([&](SimDialogHost& list) {
    NextEditorTakes(kE, kD);
    list.Click(CKeyChangeListDlg::kAdd);
    services_.AnswerNextMessageBox(message_box::kIdOk);
    list.Click(dialog_message::kIdOk);
    EXPECT_FALSE(list.Ended());
  });
  EXPECT_EQ(ended, dialog_message::kIdCancel);
  EXPECT_EQ(RuleFile(), before);
  ASSERT_EQ(services_.MessageBoxes().size(), 1u);
  EXPECT_EQ(services_.MessageBoxes()[0].text, std::string(kRulesNotWritten) + kRuleFile);

  services_.FailWritesTo("", 0);
  std::filesystem::permissions(services_.HostPath(kRuleFile), std::filesystem::perms::owner_read);
  RunList([&](SimDialogHost& list) {
    services_.AnswerNextMessageBox(message_box::kIdOk);
    list.Click(dialog_message::kIdOk);
    EXPECT_FALSE(list.Ended());
  });
  EXPECT_EQ(RuleFile(), before);
  EXPECT_EQ(services_.MessageBoxes().size(), 2u);
  const auto folder = services_.HostPath(kFolder);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);  // nothing left behind
}

// A click anywhere in a row selects it, so a double click on the second column edits that row
// and not the one selected before.
TEST_F(KeyMapListTest, ADoubleClickOnTheSecondColumnEditsThatRow) {
  WriteRuleFile("[KeyChange]\r\n41/1e=42/30\r\n43/2e=44/20\r\n");
  RunList([&](SimDialogHost& list) {
    EXPECT_TRUE(list.SelectsWholeRows(kList));
    list.ClickListCell(kList, 0, 0);
    runner_.When(CKeyChangeDlg::kTemplateId, [](SimDialogHost& editor) {
      EXPECT_EQ(editor.Text(CKeyChangeDlg::kFrom), "C");
      editor.Click(dialog_message::kIdCancel);
    });
    list.DoubleClickListCell(kList, 1, 1);
  });
  EXPECT_EQ(runner_.Ran().size(), 2u);
}

// The hold key and time take input only while "길게 누르면" is checked; unchecked again, OK
// makes an ordinary remapping whatever the hold field shows.
TEST_F(KeyMapListTest, TheHoldFieldsTakeInputOnlyWhileTheBoxIsChecked) {
  RunList([&](SimDialogHost& list) {
    runner_.When(CKeyChangeDlg::kTemplateId, [](SimDialogHost& editor) {
      EXPECT_EQ(editor.Text(kHoldTime), "200");
      const int holdIds[] = {kHold, kHoldTime, CKeyChangeDlg::kHoldLeftButton,
                             CKeyChangeDlg::kHoldMiddleButton, CKeyChangeDlg::kHoldRightButton};
      const auto holdTakingInput = [&] {
        return std::ranges::count_if(holdIds, [&](int id) { return editor.IsEnabled(id); });
      };
      EXPECT_FALSE(editor.IsChecked(kHoldBox));
      EXPECT_EQ(holdTakingInput(), 0);
      editor.ClickCheckBox(kHoldBox);
      EXPECT_EQ(holdTakingInput(), 5);
      Press(editor, kHold, kC);
      editor.ClickCheckBox(kHoldBox);
      EXPECT_EQ(holdTakingInput(), 0);
      Press(editor, CKeyChangeDlg::kFrom, kA);
      Press(editor, CKeyChangeDlg::kTo, kB);
      editor.Click(dialog_message::kIdOk);
    });
    list.Click(CKeyChangeListDlg::kAdd);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"A > B"}));
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(), "[KeyChange]\r\n41/1e=42/30\r\n");
}

// What OK takes from a checked "길게 누르면" and what it refuses with the editor left open (the
// one key on itself is the list's refusal, after the editor closed).
TEST_F(KeyMapListTest, ATapHoldRemappingNeedsAHoldKeyAndATimeInRange) {
  const struct {
    Key to;
    std::optional<Key> hold;
    const char* ms;
    const char* refusal;  // nullptr: accepted
    const char* rules;
  } rows[] = {
      {kB, std::nullopt, "200", CKeyChangeDlg::kNoHoldKey, ""},
      {kB, kC, "49", CKeyChangeDlg::kBadHoldTime, ""},
      {kB, kC, "1001", CKeyChangeDlg::kBadHoldTime, ""},
      {kB, kC, "", CKeyChangeDlg::kBadHoldTime, ""},
      {kB, kC, "50", nullptr, "[TapHold]\r\n41/1e=42/30/43/2e/50\r\n"},
      {kB, kLeftCtrl, "1000", nullptr, "[TapHold]\r\n41/1e=42/30/a2/1d/1000\r\n"},
      {kB, kLeftButton, "300", nullptr, "[TapHold]\r\n41/1e=42/30/00/10/300\r\n"},
      {kA, kC, "200", nullptr, "[TapHold]\r\n41/1e=41/1e/43/2e/200\r\n"},
      {kA, kA, "200", CKeyChangeListDlg::kSameKey, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.ms);
    WriteRuleFile("");
    const std::size_t shownBefore = services_.MessageBoxes().size();
    RunList([&](SimDialogHost& list) {
      if (row.refusal) services_.AnswerNextMessageBox(message_box::kIdOk);
      NextEditorHolds(kA, row.to, row.hold, row.ms);
      list.Click(CKeyChangeListDlg::kAdd);
      list.Click(dialog_message::kIdOk);
    });
    EXPECT_EQ(RuleFile(), row.rules);
    ASSERT_EQ(services_.MessageBoxes().size(), shownBefore + (row.refusal ? 1 : 0));
    if (row.refusal) {
      EXPECT_EQ(services_.LastMessageBox().text, row.refusal);
    }
  }
}

// A tap-hold row opens with its hold key and time; unchecked it goes back to [KeyChange], and a
// remapping given a hold moves to [TapHold], each out of the section it came from.
TEST_F(KeyMapListTest, EditMovesARemappingBetweenTheTwoSections) {
  WriteRuleFile(
      "[KeyChange]\r\n14/3a=15/f2\r\n41/1e=42/30\r\n"
      "[TapHold]\r\n43/2e=44/20/a2/1d/300\r\n45/12=41/1e/00/12/250\r\n");
  RunList([&](SimDialogHost& list) {
    EXPECT_EQ(Rows(list),
              (std::vector<std::string>{"C > D · 길게: LCONTROL", "E > A · 길게: RBUTTON",
                                        "CAPSLOCK > HANGUL", "A > B"}));
    // A hold by a mouse button opens with the button's name, and another button replaces it.
    list.SelectRows(kList, {1});
    runner_.When(CKeyChangeDlg::kTemplateId, [](SimDialogHost& editor) {
      EXPECT_EQ(editor.Text(kHold), "RBUTTON");
      editor.Click(CKeyChangeDlg::kHoldMiddleButton);
      editor.Click(dialog_message::kIdOk);
    });
    list.Click(CKeyChangeListDlg::kEdit);
    list.SelectRows(kList, {0});
    runner_.When(CKeyChangeDlg::kTemplateId, [](SimDialogHost& editor) {
      EXPECT_TRUE(editor.IsChecked(kHoldBox));
      EXPECT_TRUE(editor.IsEnabled(kHold));
      EXPECT_EQ(editor.Text(kHold), "LCONTROL");
      EXPECT_EQ(editor.Text(kHoldTime), "300");
      editor.ClickCheckBox(kHoldBox);
      editor.Click(dialog_message::kIdOk);
    });
    list.Click(CKeyChangeListDlg::kEdit);
    list.SelectRows(kList, {2});
    runner_.When(CKeyChangeDlg::kTemplateId, [](SimDialogHost& editor) {
      editor.ClickCheckBox(kHoldBox);
      Press(editor, kHold, kLeftCtrl);
      editor.Click(dialog_message::kIdOk);
    });
    list.Click(CKeyChangeListDlg::kEdit);
    EXPECT_EQ(Rows(list),
              (std::vector<std::string>{"C > D", "E > A · 길게: MBUTTON",
                                        "CAPSLOCK > HANGUL · 길게: LCONTROL", "A > B"}));
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(),
            "[KeyChange]\r\n43/2e=44/20\r\n41/1e=42/30\r\n"
            "[TapHold]\r\n45/12=41/1e/00/11/250\r\n14/3a=15/f2/a2/1d/200\r\n");
}

// [TapHold] is read first, so its line is the row and the [KeyChange] line of that key stays
// unshown (unless the tap-hold value is empty: no rule), as does a tap-hold line without both
// pairs; a time is read as the library reads it.
// OK keeps every line (rows with their time written), and only an edit of the row takes the key
// out of [KeyChange]. Delete takes a row from the section it came from.
TEST_F(KeyMapListTest, TapHoldLinesAreReadAsTheLibraryReadsThemAndTheUnreadableOnesStay) {
  const std::string keyChange = "[KeyChange]\r\n14/3a=a2/1d\r\n41/1e=42/30\r\n44/20=41/1e\r\n";
  WriteRuleFile(keyChange +
                "[TapHold]\r\n14/3a=15/f2/a2/1d\r\n43/2e=44/20/a2/1d/20\r\n45/12=44/20/a2\r\n"
                "46/21=44/20/a2/1d/2x/9\r\n47/22=44/20/a2/1d/5000\r\n44/20=\r\n");
  const std::string tapHold =
      "[TapHold]\r\n14/3a=15/f2/a2/1d/200\r\n43/2e=44/20/a2/1d/50\r\n45/12=44/20/a2\r\n"
      "46/21=44/20/a2/1d/50\r\n47/22=44/20/a2/1d/1000\r\n44/20=\r\n";
  RunList([&](SimDialogHost& list) {
    const std::string held = " > D · 길게: LCONTROL";
    EXPECT_EQ(Rows(list),
              (std::vector<std::string>{"CAPSLOCK > HANGUL · 길게: LCONTROL", "C" + held,
                                        "F" + held, "G" + held, "A > B", "D > A"}));
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(), keyChange + tapHold);
  RunList([&](SimDialogHost& list) {
    list.SelectRows(kList, {0});
    runner_.When(CKeyChangeDlg::kTemplateId,
                 [](SimDialogHost& editor) { editor.Click(dialog_message::kIdOk); });
    list.Click(CKeyChangeListDlg::kEdit);
    list.SelectRows(kList, {4});
    list.Click(CKeyChangeListDlg::kDelete);
    list.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(RuleFile(), "[KeyChange]\r\n44/20=41/1e\r\n" + tapHold);
}

}  // namespace
