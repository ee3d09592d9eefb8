// The hooks have one owner. Only its calls change anything; a process that ended without
// StopHook leaves them to the next one. Processes share the owner's identity alone: whatever is
// written there, the owner runs on its own state.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "sim/SimDesktop.h"

namespace {

constexpr ProcessIdentity kSecondTastron{200, 7};
constexpr ProcessIdentity kThirdTastron{300, 9};

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
  // What a second Tastron's start and end call, in its own process.
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
  int DebugLinesWith(const std::string& text) const {
    int count = 0;
    for (const std::string& line : desktop_.DebugLines()) {
      if (line.find(text) != std::string::npos) ++count;
    }
    return count;
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
  EXPECT_EQ(DebugLinesWith("ignored: the hooks belong to process 100"), 6);
}

// Any process can write anything into the shared section. The owner decides from its own memory
// alone: its calls are never refused and its settings stay its own. A later Tastron is refused
// only while the section names a running process.
TEST_F(HookOwnershipTest, WhatTheSharedSectionHoldsChangesNothingTheOwnerRuns) {
  struct Row {
    const char* what;
    ProcessIdentity written;
    bool laterTastronStarts;
  };
  const Row rows[] = {
      {"zeros", {}, true},
      {"bytes of a path", {0x5C3A4378, 0x6F6F545C}, true},
      {"a running process", kThirdTastron, false},
  };
  desktop_.StartOtherProgram(kThirdTastron);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    desktop_.ActAsProcess(SimDesktop::kHostProcess);
    desktop_.SharedOwner() = row.written;
    const int refusedBefore = DebugLinesWith("ignored");
    HookEngine owner = desktop_.Engine();
    owner.EnableHookStatue(0);
    owner.EnableHookStatue(1);
    owner.SetDevconPath("C:\\Tastron\\dc32.exe");
    EXPECT_TRUE(CapsLockSwallowed());
    EXPECT_STREQ(desktop_.State().DevconPath, "C:\\Tastron\\dc32.exe");
    EXPECT_EQ(DebugLinesWith("ignored"), refusedBefore) << "the owner was refused";

    std::int32_t started = -1;
    std::int32_t stopped = -1;
    desktop_.ActAsProcess(kSecondTastron);
    started = desktop_.Engine().StartHook(0x20020);
    stopped = desktop_.Engine().StopHook();
    desktop_.Engine().ProcessDetaching();
    desktop_.ActAsProcess(SimDesktop::kHostProcess);
    EXPECT_EQ(started, row.laterTastronStarts ? 1 : 0);
    EXPECT_EQ(stopped, started);
    EXPECT_EQ(DebugLinesWith("StartHook ignored: the hooks belong to process 300"),
              row.laterTastronStarts ? 0 : 1);
    EXPECT_TRUE(CapsLockSwallowed()) << "the owner's hooks went";
  }
}

// Process ids are reused: an owner killed without StopHook whose id now belongs to a program
// started later is gone, and so is one whose id nobody has. A new Tastron starts afresh.
TEST_F(HookOwnershipTest, AnOwnerThatEndedLeavesTheHooksToTheNextWhoeverHasItsId) {
  for (const bool reused : {false, true}) {
    SCOPED_TRACE(reused ? "id reused" : "id free");
    std::ostringstream trace;
    SimDesktop desktop(trace);
    desktop.StartLikeHost();
    desktop.EndProcess(SimDesktop::kHostProcess);
    if (reused) desktop.StartOtherProgram({SimDesktop::kHostProcess.id, 99});
    desktop.ActAsProcess(kSecondTastron);
    HookEngine engine = desktop.Engine();
    engine.SetConfigINI("C:\\next\\config.ini");
    EXPECT_STREQ(desktop.State().DevconPath, "") << "the ended process's state was kept";
    EXPECT_EQ(engine.StartHook(desktop.HostWindow()), 1);
    engine.EnableHookStatue(1);
    EXPECT_EQ(desktop.HookCount(HookPlatform::HookKind::Keyboard), 1);
    EXPECT_EQ(desktop.SharedOwner(), kSecondTastron);
    EXPECT_EQ(engine.StopHook(), 1);
  }
}

// Two Tastrons claim the hooks of an owner that was killed, the other one's claim coming between
// the two steps of the first one's (before its look at the section, or between finding the
// owner gone and taking over): exactly one wins, and the other says who has them.
TEST_F(HookOwnershipTest, TwoClaimantsRacingForTheHooksGiveThemToOne) {
  for (const int interleavedAt : {1, 2}) {
    SCOPED_TRACE(interleavedAt);
    std::ostringstream trace;
    SimDesktop desktop(trace);
    desktop.StartLikeHost();
    desktop.EndProcess(SimDesktop::kHostProcess);
    std::int32_t thirdStarted = -1;
    desktop.InterleaveBeforeOwnerExchange(interleavedAt, kThirdTastron, [&](HookEngine& third) {
      thirdStarted = third.StartHook(0x30030);
    });
    desktop.ActAsProcess(kSecondTastron);
    EXPECT_EQ(desktop.Engine().StartHook(0x20020), 0);
    EXPECT_EQ(thirdStarted, 1);
    EXPECT_EQ(desktop.SharedOwner(), kThirdTastron);
    EXPECT_EQ(desktop.HookCount(HookPlatform::HookKind::Keyboard), 1);
    int refusals = 0;
    for (const std::string& line : desktop.DebugLines()) {
      if (line == "trellin_192: StartHook ignored: the hooks belong to process 300") ++refusals;
    }
    EXPECT_EQ(refusals, 1);
  }
}

// The owner's library unloaded (Tastron ended normally) gives up its claim, unless the section
// names another process by then.
TEST_F(HookOwnershipTest, AnOwnerThatUnloadsTheLibraryGivesUpOnlyItsOwnClaim) {
  for (const ProcessIdentity named : {SimDesktop::kHostProcess, kThirdTastron}) {
    SCOPED_TRACE(named.id);
    std::ostringstream trace;
    SimDesktop desktop(trace);
    desktop.StartLikeHost();
    desktop.Engine().StopHook();
    desktop.SharedOwner() = named;
    desktop.Engine().ProcessDetaching();
    EXPECT_EQ(desktop.SharedOwner(),
              named == SimDesktop::kHostProcess ? ProcessIdentity{} : kThirdTastron);
  }
}

TEST_F(HookOwnershipTest, TheNextTastronStartsOnceTheOwnerUnloadedTheLibrary) {
  desktop_.Engine().StopHook();
  desktop_.Engine().ProcessDetaching();
  EXPECT_EQ(desktop_.SharedOwner(), ProcessIdentity{});
  desktop_.ActAsProcess(kSecondTastron);
  EXPECT_EQ(desktop_.Engine().StartHook(desktop_.HostWindow()), 1);
}

}  // namespace
