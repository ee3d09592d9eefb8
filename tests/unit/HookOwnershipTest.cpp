// Every process that maps the library shares its state. Only the process that owns it may
// change it; a process that ended without StopHook leaves it to the next one.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "sim/SimDesktop.h"

namespace {

constexpr ProcessIdentity kSecondTastron{200, 7};

class HookOwnershipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop_.StartLikeHost();
    desktop_.HostSettings().Lock_CapsLock = 1;
    desktop_.PushSettings();
  }
  bool CapsLockSwallowed() {
    trace_.str("");
    desktop_.Key({0x14, 0x3A}, false, true);
    desktop_.Key({0x14, 0x3A}, false, false);
    return trace_.str().empty();
  }
  // What a second Tastron's start and end call, on the first one's state.
  void RunAnotherTastron(ProcessIdentity process, std::int32_t& started, std::int32_t& stopped) {
    desktop_.ActAsProcess(process);
    HookEngine engine = desktop_.Engine();
    engine.SetConfigINI("C:\\Users\\other\\config.ini");
    engine.SetDevconPath("C:\\Users\\other\\tool.exe");
    const HookSettings nothing{};
    engine.UpdateValue(&nothing);
    started = engine.StartHook(0x20020);
    engine.EnableHookStatue(0);
    stopped = engine.StopHook();
    desktop_.ActAsProcess(SimDesktop::kHostProcess);
  }

  std::ostringstream trace_;
  SimDesktop desktop_{trace_};
};

TEST_F(HookOwnershipTest, AnotherProcessChangesNothingAndSaysSo) {
  std::int32_t started = -1;
  std::int32_t stopped = -1;
  RunAnotherTastron(kSecondTastron, started, stopped);
  EXPECT_EQ(started, 0);
  EXPECT_EQ(stopped, 0);
  EXPECT_TRUE(CapsLockSwallowed()) << "the first Tastron's hooks were paused or reset";
  EXPECT_EQ(desktop_.State().HostWindow, desktop_.HostWindow());
  EXPECT_STREQ(desktop_.State().DevconPath, SimDesktop::kDevconPath);
  EXPECT_EQ(desktop_.State().ConfigIniPath, desktop_.RuleFilePath());
  EXPECT_EQ(desktop_.HookCount(HookPlatform::HookKind::Keyboard), 1);
  int refusals = 0;
  for (const std::string& line : desktop_.DebugLines()) {
    if (line.find("ignored: the hooks belong to process 100") != std::string::npos) ++refusals;
  }
  EXPECT_EQ(refusals, 6);
}

// Process ids are reused: a new process with the owner's id is not the owner.
TEST_F(HookOwnershipTest, AProcessThatReusesTheOwnersIdIsAnother) {
  std::int32_t started = -1;
  std::int32_t stopped = -1;
  RunAnotherTastron({SimDesktop::kHostProcess.id, 99}, started, stopped);
  EXPECT_EQ(stopped, 0);
  EXPECT_TRUE(CapsLockSwallowed());
}

// Tastron killed without StopHook: its hooks went with it, and a new Tastron starts afresh.
TEST_F(HookOwnershipTest, AnOwnerThatEndedWithoutStopHookLeavesTheStateToTheNext) {
  desktop_.EndProcess(SimDesktop::kHostProcess);
  desktop_.ActAsProcess(kSecondTastron);
  HookEngine engine = desktop_.Engine();
  engine.SetConfigINI("C:\\next\\config.ini");
  EXPECT_STREQ(desktop_.State().DevconPath, "") << "the ended process's state was kept";
  EXPECT_EQ(desktop_.State().Settings.Lock_CapsLock, 0);
  EXPECT_EQ(engine.StartHook(desktop_.HostWindow()), 1);
  engine.EnableHookStatue(1);
  EXPECT_EQ(desktop_.HookCount(HookPlatform::HookKind::Keyboard), 1);
  EXPECT_FALSE(CapsLockSwallowed());
  EXPECT_EQ(engine.StopHook(), 1);
}

// The owner's library unloaded (Tastron ended normally): the next process takes the state.
TEST_F(HookOwnershipTest, AnOwnerThatUnloadedTheLibraryLeavesTheStateToTheNext) {
  desktop_.Engine().StopHook();
  desktop_.Engine().ProcessDetaching();
  desktop_.ActAsProcess(kSecondTastron);
  EXPECT_EQ(desktop_.Engine().StartHook(desktop_.HostWindow()), 1);
}

}  // namespace
