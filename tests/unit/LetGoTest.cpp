// Nothing the library puts down for the system stays down once it loses its say, and the away
// mode's note and lock survive slow or stalled workers.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "hook/WindowsCodes.h"
#include "sim/SimDesktop.h"

namespace {

using HookKind = HookPlatform::HookKind;

class LetGoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop_.StartLikeHost();
    desktop_.HostSettings().Key_KeyChange = 1;
    desktop_.HostSettings().EnableShiftMemory = 1;
    desktop_.HostSettings().Lock_UseRCtrl = 1;
    desktop_.HostSettings().Lock_NumLock = 1;
    desktop_.PushSettings();
    Rule("KeyChange", "14/3a", "a2/1d");  // Caps Lock as left Ctrl
    Rule("KeyChange", "41/1e", "00/10");  // A as the left button
  }
  void Rule(const std::string& section, const std::string& key, const std::string& value) {
    desktop_.SetRule(section, key, value);
  }
  void Press(KeyCodePair key) { desktop_.Key(key, false, true); }
  void Release(KeyCodePair key) { desktop_.Key(key, false, false); }
  // A lone Shift tap: Shift memory holds Shift down for the system.
  void ArmShift() {
    Press({0xA0, 0x2A});
    Release({0xA0, 0x2A});
  }
  // Caps Lock, A, the Korean right Ctrl and Num Lock down; Shift armed.
  void HoldEverything() {
    ArmShift();
    Press({0x14, 0x3A});
    Press({0x41, 0x1E});
    Press({0x19, 0x1D});
    Press({0x90, 0x45});
    ASSERT_TRUE(desktop_.SystemKeyDown(win::kVkLControl));
    ASSERT_TRUE(desktop_.SystemKeyDown(win::kVkLButton));
    ASSERT_TRUE(desktop_.SystemKeyDown(win::kVkLShift));
    ASSERT_TRUE(desktop_.SystemKeyDown(win::kVkNumLock));
  }
  int KeysDownForTheSystem() const {
    int down = 0;
    for (int key = 1; key < 256; ++key)
      down += desktop_.SystemKeyDown(static_cast<std::uint8_t>(key));
    return down;
  }

  std::ostringstream trace_;
  SimDesktop desktop_{trace_};
  HookEngine engine_ = desktop_.Engine();
};

TEST_F(LetGoTest, StopHookLetsGoOfEverythingTheLibraryHolds) {
  HoldEverything();
  EXPECT_EQ(engine_.StopHook(), 1);
  EXPECT_EQ(KeysDownForTheSystem(), 0);
  EXPECT_EQ(desktop_.State().ShiftArmed, 0);
  // The user's releases afterwards reach an unhooked system and change nothing.
  Release({0x14, 0x3A});
  Release({0x41, 0x1E});
  EXPECT_EQ(KeysDownForTheSystem(), 0);
}

// Keys held across a stop and the next start: the new hooks know nothing of them, so the Korean
// right Ctrl no longer counts as held (a wheel notch stays a wheel notch, not a volume step).
TEST_F(LetGoTest, AStartAfterAStopBeginsWithNothingHeld) {
  desktop_.HostSettings().EnableCtrlWheel = 1;
  desktop_.HostSettings().CtrlWheelUnit = 5000;
  desktop_.PushSettings();
  HoldEverything();
  engine_.StopHook();
  Release({0x19, 0x1D});  // no hook sees it
  desktop_.StartLikeHost();
  EXPECT_EQ(desktop_.State().HanjaKeyDown, 0);
  trace_.str("");
  desktop_.Wheel(120);
  EXPECT_EQ(trace_.str(), "wheel 120\n");
}

// A right press held back for a sideways scroll goes to the system before the hooks go: its
// release, which no hook sees, then ends a click instead of arriving alone.
TEST_F(LetGoTest, StopHookGivesAHeldBackRightPressToTheSystem) {
  desktop_.HostSettings().RButtonWheel = 1;
  desktop_.PushSettings();
  desktop_.MouseButton(ScenarioDesktop::Button::Right, true);
  ASSERT_FALSE(desktop_.SystemKeyDown(win::kVkRButton));
  engine_.StopHook();
  EXPECT_TRUE(desktop_.SystemKeyDown(win::kVkRButton));
  desktop_.MouseButton(ScenarioDesktop::Button::Right, false);
  EXPECT_EQ(KeysDownForTheSystem(), 0);
}

TEST_F(LetGoTest, TheFirstEventAfterTheHostWindowEndsLetsGoOfEverything) {
  HoldEverything();
  desktop_.HostGone();
  desktop_.Move(3, 0);  // movement is no key event: nothing yet
  desktop_.Wheel(120);
  EXPECT_EQ(KeysDownForTheSystem(), 0);
  EXPECT_EQ(desktop_.State().Idle, 1);
}

// Paused, the keys whose press the library replaced still end as they began; a key pressed
// while paused passes both ways, also once the hooks run again.
TEST_F(LetGoTest, APauseNeverStrandsAKeyEitherWay) {
  HoldEverything();
  engine_.EnableHookStatue(0);
  EXPECT_FALSE(desktop_.SystemKeyDown(win::kVkLShift));  // the pause lets go of Shift memory
  Press({0x43, 0x2E});                                   // C pressed while paused
  engine_.EnableHookStatue(1);
  Rule("KeyChange", "43/2e", "44/20");  // and a rule for it added before its release
  for (KeyCodePair key :
       {KeyCodePair{0x14, 0x3A}, {0x41, 0x1E}, {0x19, 0x1D}, {0x90, 0x45}, {0x43, 0x2E}}) {
    Release(key);
  }
  EXPECT_EQ(KeysDownForTheSystem(), 0);
}

// A shortcut sent while Caps Lock (as left Ctrl) is down must not press left Ctrl again for a
// user who let go of Caps Lock meanwhile.
TEST_F(LetGoTest, AShortcutKnowsWhichKeyHoldsAModifier) {
  desktop_.HostSettings().Key_NoteBookMode = 1;
  desktop_.PushSettings();
  Rule("Hotkey", "4b/25/1/0/0/0/0/0/0/0", "0/43/2e/0/0/1/0/0/0/0/0");  // Ctrl+K: Shift+C
  Press({0x14, 0x3A});
  ScenarioDesktop::Input capsUp;
  capsUp.key = {0x14, 0x3A};
  desktop_.DuringInjection(capsUp);
  Press({0x4B, 0x25});
  Release({0x4B, 0x25});
  EXPECT_EQ(KeysDownForTheSystem(), 0);
}

class AwayModeTest : public LetGoTest {
 protected:
  void SetUp() override {
    LetGoTest::SetUp();
    desktop_.HostSettings().Lock_Monitor = 1;
    desktop_.HostSettings().InactiveMouse = 1;
    desktop_.HostSettings().LockWorkStation = 1;
    desktop_.PushSettings();
  }
  void WinL() {
    Press({0x5B, 0x5B});
    Press({0x4C, 0x26});
    Release({0x4C, 0x26});
    Release({0x5B, 0x5B});
    desktop_.Settle();
  }
  int OffState() {
    return desktop_.RuleProfile().GetInt(desktop_.RuleFilePath(), "Mouse", "OffState", 0);
  }
};

// The note that the mouse is off stays until the "enable" run has really switched it on: if
// Tastron ended before, the next start still finds it and repairs the devices.
TEST_F(AwayModeTest, TheOffNoteLastsUntilTheDevicesAreOnAgain) {
  desktop_.SetDeviceToolDuration(std::chrono::milliseconds{5000});
  WinL();
  EXPECT_EQ(OffState(), 1);
  Press({0x5A, 0x2C});  // back while "disable" still runs; "enable" waits behind it
  Release({0x5A, 0x2C});
  desktop_.Settle();
  EXPECT_EQ(OffState(), 1);
  desktop_.AdvanceTime(std::chrono::milliseconds{5000});
  EXPECT_EQ(OffState(), 1);  // "enable" started only now
  desktop_.AdvanceTime(std::chrono::milliseconds{5000});
  EXPECT_EQ(OffState(), 0);
  const auto& runs = desktop_.DeviceToolRuns();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].parameters, "disable =Mouse");
  EXPECT_EQ(runs[1].parameters, "enable =Mouse");
  EXPECT_GE(runs[1].start, runs[0].end);
}

// A second away mode begun while the first one's "enable" still runs: that run's end must not
// delete the note that the second "disable" needs.
TEST_F(AwayModeTest, AnEarlierEnableNeverDeletesALaterNote) {
  desktop_.SetDeviceToolDuration(std::chrono::milliseconds{1000});
  WinL();
  Press({0x5A, 0x2C});
  Release({0x5A, 0x2C});
  WinL();
  desktop_.AdvanceTime(std::chrono::milliseconds{2500});  // the first two runs have ended
  EXPECT_EQ(OffState(), 1);
  desktop_.AdvanceTime(std::chrono::milliseconds{1000});
  EXPECT_EQ(OffState(), 1);  // the devices are off again
}

TEST_F(AwayModeTest, AFailedEnableKeepsTheNoteForTheNextStart) {
  WinL();
  desktop_.SetDeviceToolSucceeds(false);
  Press({0x5A, 0x2C});
  desktop_.Settle();
  EXPECT_EQ(OffState(), 1);
}

// A hotkey's program start that stalls (a file on an unreachable share) must not keep the lock
// from starting: the desktop would stay unlocked for whoever sits down.
TEST_F(AwayModeTest, TheLockNeverWaitsBehindAStalledProgramStart) {
  desktop_.HostSettings().Key_NoteBookMode = 1;
  desktop_.PushSettings();
  Rule("Hotkey", "70/3b/0/0/0/0/0/0/0/0", "1/\\\\share\\tool.exe/");
  desktop_.StallProgramStarts(true);
  Press({0x70, 0x3B});
  Release({0x70, 0x3B});
  WinL();
  trace_.str("");
  Press({0x5A, 0x2C});
  EXPECT_NE(trace_.str().find("run \"C:\\Windows\\System32\\rundll32.exe\""), std::string::npos);
  EXPECT_EQ(trace_.str().find("tool.exe"), std::string::npos);
  desktop_.StallProgramStarts(false);
  EXPECT_NE(trace_.str().find("tool.exe"), std::string::npos);
}

}  // namespace
