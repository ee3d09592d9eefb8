// What rules per program cost (how often the program in front is asked) and what a window whose
// process cannot be asked gets.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sim/SimDesktop.h"

namespace {

constexpr KeyCodePair kA{0x41, 0x1E};
constexpr KeyCodePair kC{0x43, 0x2E};
constexpr KeyCodePair kZ{0x5A, 0x2C};
constexpr KeyCodePair kF9{0x78, 0x43};
constexpr KeyCodePair kF8{0x77, 0x42};
constexpr std::uint8_t kVkB = 0x42;
constexpr std::uint8_t kVkD = 0x44;

class ProgramRulesTest : public ::testing::Test {
 protected:
  ProgramRulesTest() {
    desktop_.StartLikeHost();
    desktop_.HostSettings().Key_KeyChange = 1;
    desktop_.HostSettings().Key_NoteBookMode = 1;
    desktop_.PushSettings();
    Window("edit", "editor.exe");
    Window("play", "game.exe");
  }

  void Window(const std::string& name, const std::string& program) {
    desktop_.DeclareWindow(name, name + "Frame", false, nullptr, &program);
  }
  void Tap(KeyCodePair key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      desktop_.Key(key, false, true);
      desktop_.Key(key, false, false);
    }
  }
  // Whether the system holds `target` instead of the key while the key is pressed.
  bool PressGives(KeyCodePair key, std::uint8_t target) {
    desktop_.Key(key, false, true);
    const bool given = desktop_.SystemKeyDown(target) && !desktop_.SystemKeyDown(key.virtualKey);
    desktop_.Key(key, false, false);
    return given;
  }
  // Whether a tap of `key` starts `program`.
  bool TapRuns(KeyCodePair key, const std::string& program) {
    trace_.str("");
    Tap(key);
    return trace_.str().find("run \"" + program + "\"") != std::string::npos;
  }

  std::ostringstream trace_;
  SimDesktop desktop_{trace_};
};

TEST_F(ProgramRulesTest, TheProgramIsAskedOncePerWindowThatComesToTheFront) {
  desktop_.SetRule("KeyChange:editor.exe", "41/1e", "42/30");
  desktop_.SetRule("HotKey:game.exe", "78/43/0/0/0/0/0/0/0/0", "1/tool.exe/");
  // Nothing is asked before an event needs it.
  desktop_.Foreground("edit");
  EXPECT_EQ(desktop_.ProgramQueries(), 0);

  Tap(kZ, 50);
  EXPECT_TRUE(PressGives(kA, kVkB));
  Tap(kF9, 20);
  EXPECT_EQ(desktop_.ProgramQueries(), 1);

  desktop_.Foreground("play");
  Tap(kZ, 50);
  EXPECT_FALSE(PressGives(kA, kVkB));
  EXPECT_TRUE(TapRuns(kF9, "tool.exe"));
  EXPECT_EQ(desktop_.ProgramQueries(), 2);

  // Windows that come and go between two events cost nothing; the one in front at the next
  // press of a key some program has a rule for is asked once.
  desktop_.Foreground("edit");
  desktop_.Foreground("none");
  desktop_.Foreground("edit");
  EXPECT_EQ(desktop_.ProgramQueries(), 2);
  Tap(kA, 50);
  EXPECT_EQ(desktop_.ProgramQueries(), 3);

  // A key that no program has a rule for is decided alike in every program: typing it does not
  // even ask which window is in front.
  const int foregroundQueries = desktop_.ForegroundQueries();
  desktop_.Foreground("play");
  Tap(kZ, 50);
  EXPECT_EQ(desktop_.ForegroundQueries(), foregroundQueries);
  EXPECT_EQ(desktop_.ProgramQueries(), 3);
  desktop_.Foreground("edit");

  // No window in front: nothing to ask, and the rules for all programs apply.
  desktop_.Foreground("none");
  Tap(kZ, 50);
  EXPECT_FALSE(PressGives(kA, kVkB));
  EXPECT_EQ(desktop_.ProgramQueries(), 3);
}

TEST_F(ProgramRulesTest, ARuleFileWithoutProgramSectionsNeverAsks) {
  desktop_.SetRule("KeyChange", "41/1e", "42/30");
  desktop_.SetRule("HotKey", "78/43/0/0/0/0/0/0/0/0", "1/tool.exe/");
  for (const char* window : {"edit", "play", "none", "edit"}) {
    desktop_.Foreground(window);
    Tap(kZ, 20);
    EXPECT_TRUE(PressGives(kA, kVkB));
    EXPECT_TRUE(TapRuns(kF9, "tool.exe"));
  }
  EXPECT_EQ(desktop_.ProgramQueries(), 0);

  // A program section written meanwhile applies at the next event: the window in front is asked
  // then, although it came to the front before.
  desktop_.SetRule("KeyChange:editor.exe", "41/1e", "");
  EXPECT_FALSE(PressGives(kA, kVkB));
  EXPECT_EQ(desktop_.ProgramQueries(), 1);

  // Once the last one is gone, nothing is asked again, not even for another window.
  desktop_.RemoveRuleSection("KeyChange:editor.exe");
  desktop_.Foreground("play");
  Tap(kZ, 20);
  EXPECT_TRUE(PressGives(kA, kVkB));
  EXPECT_EQ(desktop_.ProgramQueries(), 1);
}

// An elevated or protected process: the system names no program for its window.
TEST_F(ProgramRulesTest, AWindowWhoseProcessCannotBeAskedGetsOnlyTheGlobalRulesAskedOnce) {
  Window("admin", "editor.exe");
  desktop_.AnswerForProgram("admin", {u"", true});
  desktop_.SetRule("KeyChange", "43/2e", "44/20");
  desktop_.SetRule("KeyChange:editor.exe", "41/1e", "42/30");
  desktop_.SetRule("KeyChange:editor.exe", "43/2e", "");
  desktop_.SetRule("HotKey", "78/43/0/0/0/0/0/0/0/0", "1/everywhere.exe/");
  desktop_.SetRule("HotKey:editor.exe", "77/42/0/0/0/0/0/0/0/0", "1/editor-tool.exe/");
  // A section without a program name is no program's, also not that of a process without one.
  desktop_.SetRule("KeyChange:", "41/1e", "42/30");
  desktop_.SetRule("HotKey:", "77/42/0/0/0/0/0/0/0/0", "1/nameless.exe/");

  desktop_.Foreground("admin");
  for (int round = 0; round < 20; ++round) {
    EXPECT_FALSE(PressGives(kA, kVkB));
    EXPECT_TRUE(PressGives(kC, kVkD));
    EXPECT_TRUE(TapRuns(kF9, "everywhere.exe"));
    EXPECT_FALSE(TapRuns(kF8, "editor-tool.exe"));
    EXPECT_FALSE(TapRuns(kF8, "nameless.exe"));
    Tap(kZ);
  }
  // The answer "none" is settled: not asked again while the window stays in front.
  EXPECT_EQ(desktop_.ProgramQueries(), 1);

  // The same program's own window, whose process can be asked, gets its rules.
  desktop_.Foreground("edit");
  EXPECT_TRUE(PressGives(kA, kVkB));
  EXPECT_FALSE(PressGives(kC, kVkD));
  EXPECT_TRUE(TapRuns(kF8, "editor-tool.exe"));
  EXPECT_EQ(desktop_.ProgramQueries(), 2);
}

// A frame host whose app has not attached yet: the answer may still change for the same window,
// so each press of a key some program has a rule for asks again (once, however many look-ups it
// makes), until the answer settles. A release follows what its press became, so it looks nothing
// up.
TEST_F(ProgramRulesTest, AnAnswerNotSettledIsAskedAgainUntilItSettles) {
  constexpr KeyCodePair kCapsLock{0x14, 0x3A};
  desktop_.HostSettings().Lock_CapsLock = 1;
  desktop_.PushSettings();
  Window("frame", "app.exe");
  desktop_.AnswerForProgram("frame", {u"ApplicationFrameHost.exe", false});
  desktop_.SetRule("KeyChange:app.exe", "41/1e", "42/30");
  desktop_.SetRule("HotKey:app.exe", "5a/2c/1/0/0/0/0/0/0/0", "1/app-tool.exe/");

  desktop_.Foreground("frame");
  Tap(kZ, 5);
  EXPECT_EQ(desktop_.ProgramQueries(), 5);  // the presses only
  Tap(kCapsLock);  // swallowed, and its release with it; no program has a rule for it
  EXPECT_EQ(desktop_.ProgramQueries(), 5);
  EXPECT_FALSE(PressGives(kA, kVkB));

  desktop_.AnswerForProgram("frame", {u"app.exe", true});
  EXPECT_TRUE(PressGives(kA, kVkB));
  const int settledAt = desktop_.ProgramQueries();
  Tap(kZ, 20);
  EXPECT_TRUE(PressGives(kA, kVkB));
  EXPECT_EQ(desktop_.ProgramQueries(), settledAt);
}

// The program in front is known by its UTF-16 name on every code page; each program section's
// name is read in the code page and compared as Windows compares file names. Rows: code page,
// the name in the sections, the program's file name, whether its rules apply.
TEST(ProgramNameRulesTest, ProgramSectionsApplyOnEveryCodePageWhateverTheLetterCase) {
  struct Row {
    SimCodePage codePage;
    std::string section;
    std::string program;
    bool applies;
  };
  const Row rows[] = {
      {SimCodePage::Western, "ÉDITEUR.EXE", "éditeur.exe", true},
      {SimCodePage::Western, "éditeur.EXE", "ÉDITEUR.exe", true},
      {SimCodePage::Western, "EDITEUR.EXE", "éditeur.exe", false},
      {SimCodePage::Western, "메모.exe", "메모.exe", false},
      {SimCodePage::Korean, "메모.EXE", "메모.exe", true},
      {SimCodePage::Korean, "éditeur.exe", "éditeur.exe", false},
      {SimCodePage::Utf8, "ΔΈΛΤΑ.EXE", "δέλτα.exe", true},
      {SimCodePage::Utf8, "메모.exe", "메모.EXE", true},
      {SimCodePage::Utf8, "ПРОВОДНИК.exe", "Проводник.EXE", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.section + " for " + row.program);
    std::ostringstream trace;
    SimDesktop desktop(trace);
    desktop.SetCodePage(row.codePage);
    desktop.StartLikeHost();
    desktop.HostSettings().Key_KeyChange = 1;
    desktop.HostSettings().Key_NoteBookMode = 1;
    desktop.PushSettings();
    desktop.DeclareWindow("front", "Frame", false, nullptr, &row.program);
    desktop.SetRule("KeyChange:" + row.section, "41/1e", "42/30");
    // The hotkey section spells the name as the program does: both are the same program's.
    desktop.SetRule("HotKey:" + row.program, "78/43/0/0/0/0/0/0/0/0", "1/tool.exe/");
    desktop.Foreground("front");
    desktop.Key(kA, false, true);
    EXPECT_EQ(desktop.SystemKeyDown(kVkB), row.applies);
    desktop.Key(kA, false, false);
    desktop.Key(kF9, false, true);
    desktop.Key(kF9, false, false);
    const bool heldName = SimCodePageHolds(row.codePage, row.program);
    EXPECT_EQ(trace.str().find("run \"tool.exe\"") != std::string::npos, heldName);
  }
}

}  // namespace
