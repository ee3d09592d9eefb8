// The away mode's note and lock survive slow or stalled workers.
#include "tests/unit/LetGoFixture.h"

namespace {

using HookKind = HookPlatform::HookKind;

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
