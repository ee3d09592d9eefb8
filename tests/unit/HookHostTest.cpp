#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "app/AwayWatchdog.h"
#include "app/CHookLibrary.h"
#include "app/MouseRepair.h"
#include "sim/FakeServices.h"
#include "tests/unit/FakeHookLibrary.h"
#include "ui/CUtilityLib.h"

namespace {

class HookHostTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeHookLibrary::Reset(); }

  FakeServices services_;
  const InstalledServices installedServices_{services_};
  CHookLibrary library_;
};

TEST_F(HookHostTest, BindingStopsAtTheFirstMissingExport) {
  std::map<std::string, void*> exports = FakeHookLibrary::Exports();
  exports.erase("UpdateValue");
  services_.AddModule("trellin_192.dll", exports);
  services_.AnswerNextMessageBox(message_box::kIdOk);
  EXPECT_FALSE(library_.LoadForHost("C:\\rules\\config.ini", "C:\\app\\dc64.exe"));
  EXPECT_EQ(library_.MissingName(), "UpdateValue");
  // The exports after the missing one are not looked up.
  EXPECT_EQ(
      services_.ExportLookups(),
      (std::vector<std::string>{"StartHook", "SetConfigINI", "EnableHookStatue", "UpdateValue"}));
  ASSERT_EQ(services_.MessageBoxes().size(), 1u);
  EXPECT_EQ(services_.MessageBoxes()[0].text, "trellin_192.dll을 찾을 수가 없습니다.");
  EXPECT_TRUE(FakeHookLibrary::calls.empty());
  EXPECT_FALSE(library_.IsLoaded());
}

TEST_F(HookHostTest, AMissingLibraryShowsTheSameMessage) {
  services_.AnswerNextMessageBox(message_box::kIdOk);
  EXPECT_FALSE(library_.LoadForHost("C:\\rules\\config.ini", "C:\\app\\dc64.exe"));
  ASSERT_EQ(services_.MessageBoxes().size(), 1u);
  EXPECT_EQ(services_.MessageBoxes()[0].text, app_text::kHookLibraryMissing);
}

TEST_F(HookHostTest, TheHostDrivesTheLibraryInItsOrder) {
  services_.AddModule("trellin_192.dll", FakeHookLibrary::Exports());
  ASSERT_TRUE(library_.LoadForHost("C:\\rules\\config.ini", "C:\\app\\dc64.exe"));
  HookSettings settings{};
  settings.CtrlWheelUnit = 5000;
  library_.Push(settings);
  library_.StartForWindow(0x4242);
  const int editorResult = library_.RunPaused([] {
    FakeHookLibrary::calls.push_back("editor");
    return 2;  // closed with Cancel: the hooks run again all the same
  });
  library_.StopAndUnload(0x4242);
  EXPECT_EQ(editorResult, 2);
  EXPECT_EQ(FakeHookLibrary::calls,
            (std::vector<std::string>{
                "SetConfigINI C:\\rules\\config.ini", "SetDevconPath C:\\app\\dc64.exe",
                "UpdateValue 5000", "StartHook 16962", "EnableHookStatue 1", "EnableHookStatue 0",
                "editor", "EnableHookStatue 1", "StopHook", "EnableHookStatue 0"}));
  EXPECT_TRUE(services_.MessageBoxes().empty());
  EXPECT_FALSE(library_.IsLoaded());
}

TEST_F(HookHostTest, FailuresOfStartAndStopAreShownAndTheRestStillRuns) {
  services_.AddModule("trellin_192.dll", FakeHookLibrary::Exports());
  ASSERT_TRUE(library_.LoadForHost("r", "d"));
  FakeHookLibrary::startAnswer = 0;
  FakeHookLibrary::stopAnswer = 0;
  services_.AnswerNextMessageBox(message_box::kIdOk, 2);
  library_.StartForWindow(7);
  library_.StopAndUnload(7);
  ASSERT_EQ(services_.MessageBoxes().size(), 2u);
  EXPECT_EQ(services_.MessageBoxes()[0].text, "Trellin 시작시 오류가 발생되었습니다");
  EXPECT_EQ(services_.MessageBoxes()[1].text, "Trellin 호출시 오류가 발생되었습니다");
  EXPECT_EQ(FakeHookLibrary::calls.back(), "EnableHookStatue 0");
  EXPECT_NE(
      std::find(FakeHookLibrary::calls.begin(), FakeHookLibrary::calls.end(), "EnableHookStatue 1"),
      FakeHookLibrary::calls.end());
  EXPECT_FALSE(library_.IsLoaded());
}

class RecordingTimers final : public TimerHost {
 public:
  void SetTimer(unsigned id, unsigned milliseconds) override {
    events.push_back("set " + std::to_string(id) + " " + std::to_string(milliseconds));
  }
  void KillTimer(unsigned id) override { events.push_back("kill " + std::to_string(id)); }
  std::vector<std::string> events;
};

class WatchdogTest : public ::testing::Test {
 protected:
  void SetOffState() {
    ASSERT_TRUE(CUtilityLib::CreateMultiFolder("C:\\Users\\tester", 1));
    ASSERT_TRUE(services_.Profiles().WriteString(ruleFile_, "Mouse", "OffState", "1"));
  }
  std::string LastTrace() const {
    const std::string& line = services_.DebugLines().back();
    return line.substr(line.find("::") + 2);
  }

  FakeServices services_;
  const InstalledServices installedServices_{services_};
  RecordingTimers timers_;
  std::string ruleFile_ = "C:\\Users\\tester\\config.ini";
  std::string deviceTool_ = "C:\\Program Files\\Tastron\\dc64.exe";
  AwayWatchdog watchdog_{ruleFile_, deviceTool_};
};

TEST_F(WatchdogTest, KeepsRunningWhileTheTimerIsServed) {
  SetOffState();
  services_.SetTickCount(10000);
  watchdog_.OnAwayMode(timers_, 1);
  for (std::uint32_t tick = 10500; tick <= 15000 + 10000; tick += 500) {
    services_.SetTickCount(tick);
    watchdog_.OnTimer(timers_);
    EXPECT_EQ(LastTrace(), "CVelloranDlg::OnTimer(1002)\n");
  }
  EXPECT_EQ(timers_.events, (std::vector<std::string>{"set 1002 500"}));
  EXPECT_TRUE(services_.DeviceToolRuns().empty());
  // Exactly 5 seconds is no gap yet.
  services_.SetTickCount(25000 + 5000);
  watchdog_.OnTimer(timers_);
  EXPECT_TRUE(services_.DeviceToolRuns().empty());
}

TEST_F(WatchdogTest, AGapOfMoreThanFiveSecondsSwitchesTheMouseBackOn) {
  SetOffState();
  services_.SetTickCount(0xFFFFF000u);  // the tick count wraps during the gap
  watchdog_.OnAwayMode(timers_, 1);
  services_.SetTickCount(0xFFFFF000u + 60000u);
  watchdog_.OnTimer(timers_);
  ASSERT_GE(services_.DebugLines().size(), 2u);
  EXPECT_EQ(LastTrace(), "OnTimer Activate\n");
  ASSERT_EQ(services_.DeviceToolRuns().size(), 1u);
  EXPECT_EQ(services_.DeviceToolRuns()[0].tool, deviceTool_);
  EXPECT_EQ(services_.DeviceToolRuns()[0].parameters, "enable =Mouse");
  EXPECT_EQ(timers_.events, (std::vector<std::string>{"set 1002 500", "kill 1002"}));
  services_.EndDeviceToolRun(0, true);
  EXPECT_EQ(services_.Profiles().GetString(ruleFile_, "Mouse", "OffState", "gone", 255), "gone");
}

// The note that the devices are off goes only once an "enable" run has switched them on again:
// a tool that fails, or one still running when Tastron ends, leaves it for the next repair.
struct RepairCase {
  const char* name;
  std::optional<bool> succeeded;  // nullopt: the run has not ended
  bool noteKept;
};

class MouseRepairTest : public WatchdogTest, public ::testing::WithParamInterface<RepairCase> {};

TEST_P(MouseRepairTest, TheNoteGoesOnlyAfterAnEnableThatSucceeded) {
  SetOffState();
  ASSERT_TRUE(RepairMouseDevices(ruleFile_, deviceTool_));
  ASSERT_EQ(services_.DeviceToolRuns().size(), 1u);
  EXPECT_EQ(services_.DeviceToolRuns()[0].parameters, "enable =Mouse");
  EXPECT_TRUE(services_.StartedPrograms().empty());  // never a start without its outcome
  EXPECT_EQ(services_.Profiles().GetInt(ruleFile_, "Mouse", "OffState", 0), 1);
  if (GetParam().succeeded) services_.EndDeviceToolRun(0, *GetParam().succeeded);
  EXPECT_EQ(services_.Profiles().GetInt(ruleFile_, "Mouse", "OffState", 0) == 1,
            GetParam().noteKept);
  // The next start (or the watchdog) tries again exactly while the note is there.
  EXPECT_EQ(RepairMouseDevices(ruleFile_, deviceTool_), GetParam().noteKept);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, MouseRepairTest,
                         ::testing::Values(RepairCase{"succeeds", true, false},
                                           RepairCase{"fails", false, true},
                                           RepairCase{"still_runs", std::nullopt, true}),
                         [](const ::testing::TestParamInfo<RepairCase>& outcome) {
                           return std::string(outcome.param.name);
                         });

TEST_F(WatchdogTest, AGapWithoutOffStateOnlyStopsTheWatchdog) {
  watchdog_.OnAwayMode(timers_, 1);
  services_.SetTickCount(1000 + 5001);
  watchdog_.OnTimer(timers_);
  EXPECT_TRUE(services_.DeviceToolRuns().empty());
  EXPECT_EQ(timers_.events.back(), "kill 1002");
}

TEST_F(WatchdogTest, TheLibraryStopsItWithZero) {
  watchdog_.OnAwayMode(timers_, 0);  // while off: just the kill, which Windows ignores
  watchdog_.OnAwayMode(timers_, 1);
  watchdog_.OnAwayMode(timers_, 0);
  EXPECT_EQ(timers_.events, (std::vector<std::string>{"kill 1002", "set 1002 500", "kill 1002"}));
}

}  // namespace
