#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "hook/WindowsCodes.h"
#include "sim/SimDesktop.h"

namespace {

using HookKind = HookPlatform::HookKind;

class HookEngineTest : public ::testing::Test {
 protected:
  std::ostringstream trace_;
  SimDesktop desktop_{trace_};
  HookEngine engine_ = desktop_.Engine();
};

TEST(HookStateLayout, StartsAllZeroButIdle) {
  const HookState state;
  HookState expected;
  std::memset(static_cast<void*>(&expected), 0, sizeof expected);
  expected.Idle = 1;
  EXPECT_EQ(std::memcmp(&state, &expected, sizeof state), 0);
  EXPECT_EQ(sizeof state.DevconPath, 260u);
  EXPECT_EQ(sizeof state.ConfigIniPath, 260u);
  EXPECT_LT(offsetof(HookState, DevconPath), offsetof(HookState, ConfigIniPath));
  EXPECT_LT(offsetof(HookState, LastHotkey), offsetof(HookState, Settings));
}

TEST_F(HookEngineTest, StartHookTwiceKeepsTheFirstHost) {
  EXPECT_EQ(engine_.StartHook(desktop_.HostWindow()), 1);
  EXPECT_EQ(engine_.StartHook(0x999), 0);
  EXPECT_EQ(desktop_.State().HostWindow, desktop_.HostWindow());
  EXPECT_EQ(engine_.StopHook(), 1);
  EXPECT_EQ(desktop_.State().HostWindow, 0u);
  EXPECT_EQ(desktop_.State().KeyboardHook, 0u);
  EXPECT_EQ(desktop_.State().MouseHook, 0u);
  EXPECT_FALSE(desktop_.HookInstalled(HookKind::Keyboard));
  EXPECT_FALSE(desktop_.HookInstalled(HookKind::Mouse));
  EXPECT_EQ(engine_.StopHook(), 0);
  // After StopHook the library can be started again.
  EXPECT_EQ(engine_.StartHook(desktop_.HostWindow()), 1);
}

TEST_F(HookEngineTest, AFailedKeyboardHookIsReportedAndLeavesTheMouseHookInPlace) {
  desktop_.FailHookInstall(HookKind::Keyboard);
  EXPECT_EQ(engine_.StartHook(desktop_.HostWindow()), 0);
  EXPECT_NE(desktop_.State().MouseHook, 0u);
  EXPECT_EQ(engine_.StopHook(), 0);  // acts only when the keyboard hook is set
  EXPECT_TRUE(desktop_.HookInstalled(HookKind::Mouse));
}

TEST_F(HookEngineTest, AFailedMouseHookIsNotReported) {
  desktop_.FailHookInstall(HookKind::Mouse);
  EXPECT_EQ(engine_.StartHook(desktop_.HostWindow()), 1);
  EXPECT_EQ(desktop_.State().MouseHook, 0u);
}

TEST_F(HookEngineTest, PathsAreCopiedWithABound) {
  const std::string longPath(400, 'p');
  engine_.SetConfigINI(longPath.c_str());
  EXPECT_EQ(std::string(desktop_.State().ConfigIniPath), std::string(259, 'p'));
  engine_.SetDevconPath("C:\\Tastron\\dc32.exe");
  EXPECT_STREQ(desktop_.State().DevconPath, "C:\\Tastron\\dc32.exe");
  engine_.SetDevconPath(nullptr);
  EXPECT_STREQ(desktop_.State().DevconPath, "");
  // Neighbouring fields are untouched.
  EXPECT_EQ(desktop_.State().AwayPending, 0);
  EXPECT_EQ(desktop_.State().Idle, 1);
}

TEST_F(HookEngineTest, UpdateValueCopiesTheWholeBlockAtOnce) {
  auto block = std::make_unique<HookSettings>();
  std::memset(static_cast<void*>(block.get()), 0x5A, sizeof(HookSettings));
  block->CtrlWheelUnit = -5000;
  engine_.UpdateValue(block.get());
  block.reset();  // the caller's block need live only for the call
  EXPECT_EQ(desktop_.State().Settings.CtrlWheelUnit, -5000);
  EXPECT_EQ(desktop_.State().Settings.Lock_Monitor, 0x5A5A5A5A);
  engine_.UpdateValue(nullptr);  // ignored, the block stays
  EXPECT_EQ(desktop_.State().Settings.CtrlWheelUnit, -5000);
}

class HookProcedureTest : public HookEngineTest {
 protected:
  void SetUp() override {
    desktop_.StartLikeHost();
    desktop_.HostSettings().Lock_CapsLock = 1;
    desktop_.HostSettings().RButtonWheel = 1;
    desktop_.PushSettings();
  }
  HookVerdict CapsLock(int code = win::kHcAction, std::uintptr_t extra = 0) {
    return engine_.KeyboardProcedure(code, win::kWmKeyDown, win::kVkCapital, 0x3A, extra);
  }
};

TEST_F(HookProcedureTest, OnlyActionCodesOfALiveHostAreDecided) {
  EXPECT_EQ(CapsLock(), HookVerdict::Swallow);
  EXPECT_EQ(CapsLock(3), HookVerdict::CallNext);  // HC_NOREMOVE and the like
  desktop_.HostGone();
  EXPECT_EQ(CapsLock(), HookVerdict::CallNext);
}

TEST_F(HookProcedureTest, PackingKeepsTheLow16BitsOfEachCode) {
  // Caps Lock's virtual key with garbage above bit 16 still is Caps Lock.
  EXPECT_EQ(engine_.KeyboardProcedure(win::kHcAction, win::kWmKeyDown, 0xABC0014, 0x3A, 0),
            HookVerdict::Swallow);
}

TEST_F(HookProcedureTest, MovesAndUnhandledMouseMessagesPass) {
  desktop_.State().AwayPending = 1;
  EXPECT_EQ(engine_.MouseProcedure(win::kHcAction, win::kWmMouseMove, 0, 0, 0, 0),
            HookVerdict::CallNext);
  EXPECT_EQ(desktop_.State().AwayPending, 1);  // a move never ends the away mode
  desktop_.State().AwayPending = 0;
  for (std::uint32_t message : {win::kWmMouseHWheel, win::kWmXButtonDown, win::kWmXButtonUp}) {
    EXPECT_EQ(engine_.MouseProcedure(win::kHcAction, message, 0x00780000, 0, 0, 0),
              HookVerdict::CallNext);
  }
}

TEST_F(HookProcedureTest, TheDispatcherTakesItsStepsInOrder) {
  // Paused: everything passes, but a pending away mode still ends.
  desktop_.State().AwayPending = 1;
  engine_.EnableHookStatue(0);
  EXPECT_EQ(CapsLock(), HookVerdict::CallNext);
  EXPECT_EQ(desktop_.State().AwayPending, 0);
  engine_.EnableHookStatue(1);

  // A shortcut in progress swallows input from elsewhere but lets the library's own through.
  desktop_.State().SuppressAll = 1;
  desktop_.State().Idle = 0;
  EXPECT_EQ(engine_.KeyboardProcedure(win::kHcAction, win::kWmKeyDown, 0x41, 0x1E, 0),
            HookVerdict::Swallow);
  EXPECT_EQ(
      engine_.KeyboardProcedure(win::kHcAction, win::kWmKeyDown, 0x41, 0x1E, kLibraryInjectionTag),
      HookVerdict::CallNext);
  desktop_.State().SuppressAll = 0;

  // While a filter runs, events pass untouched.
  EXPECT_EQ(CapsLock(), HookVerdict::CallNext);
  desktop_.State().Idle = 1;
  EXPECT_EQ(CapsLock(), HookVerdict::Swallow);
  EXPECT_EQ(desktop_.State().Idle, 1);  // set again after the filter
}

}  // namespace

namespace {

// Windows silently removes a low-level hook whose call outlasts LowLevelHooksTimeout (300 ms by
// default). The away mode must not hold a hook call that long, however slow the device tool.
TEST_F(HookProcedureTest, TheAwayModeNeverHoldsTheHookWhileTheDeviceToolRuns) {
  desktop_.SetDeviceToolDuration(std::chrono::milliseconds{5000});
  desktop_.HostSettings().Lock_Monitor = 1;
  desktop_.HostSettings().InactiveMouse = 1;
  desktop_.PushSettings();
  Profile& profile = desktop_.RuleProfile();
  const std::string& rules = desktop_.RuleFilePath();

  desktop_.Key({0x5B, 0x5B}, false, true);
  desktop_.Key({0x4C, 0x26}, false, true);
  desktop_.Key({0x4C, 0x26}, false, false);  // the away mode begins
  EXPECT_LE(desktop_.LongestHookCall(), std::chrono::milliseconds{200});
  desktop_.Settle();  // the note is written before the "disable" run starts
  EXPECT_EQ(profile.GetInt(rules, "Mouse", "OffState", 0), 1);
  EXPECT_EQ(desktop_.State().AwayPending, 1);

  desktop_.Key({0x41, 0x1E}, false, true);  // the user comes back while the tool still runs
  EXPECT_LE(desktop_.LongestHookCall(), std::chrono::milliseconds{200});
  desktop_.AdvanceTime(std::chrono::milliseconds{10000});
  EXPECT_EQ(profile.GetInt(rules, "Mouse", "OffState", 0), 0);

  // The devices go on again only after the tool has switched them off: runs never overlap.
  const auto& runs = desktop_.DeviceToolRuns();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].parameters, "disable =Mouse");
  EXPECT_EQ(runs[1].parameters, "enable =Mouse");
  EXPECT_GE(runs[1].start, runs[0].end);
}

}  // namespace

namespace {

// A physical key that arrives while a shortcut is being sent is swallowed; the shortcut's own
// input is not.
TEST_F(HookProcedureTest, InputFromElsewhereDuringAShortcutIsSwallowed) {
  desktop_.HostSettings().Key_NoteBookMode = 1;
  desktop_.PushSettings();
  desktop_.RuleProfile().WriteString(desktop_.RuleFilePath(), "Hotkey", "4b/25/1/0/0/0/0/0/0/0",
                                     "0/43/2e/1/0/0/0/0/0/0/0");
  desktop_.Key({0xA2, 0x1D}, false, true);
  ScenarioDesktop::Input z;  // Z pressed meanwhile
  z.key = {0x5A, 0x2C};
  z.down = true;
  desktop_.DuringInjection(z);
  desktop_.Key({0x4B, 0x25}, false, true);
  EXPECT_FALSE(desktop_.SystemKeyDown(0x5A));
  EXPECT_TRUE(desktop_.SystemKeyDown(0xA2));  // the user's Ctrl is down again afterwards
  EXPECT_NE(trace_.str().find("key down 43/2e ext injected"), std::string::npos);
  EXPECT_EQ(desktop_.State().SuppressAll, 0);
}

}  // namespace

namespace {

// Without a rule file path (the host could not hand one over) the mouse devices stay on: a
// switch-off that cannot be noted in the rule file would outlive a crash.
TEST_F(HookProcedureTest, WithoutARuleFilePathTheAwayModeLeavesTheMouseOn) {
  engine_.SetConfigINI("");
  desktop_.HostSettings().Lock_Monitor = 1;
  desktop_.HostSettings().InactiveMouse = 1;
  desktop_.PushSettings();
  for (const auto& [key, down] : {std::pair<KeyCodePair, bool>{{0x5B, 0x5B}, true},
                                  {{0x4C, 0x26}, true},
                                  {{0x4C, 0x26}, false},
                                  {{0x5B, 0x5B}, false},
                                  {{0x41, 0x1E}, true}}) {
    desktop_.Key(key, false, down);
  }
  EXPECT_TRUE(desktop_.DeviceToolRuns().empty());
  EXPECT_EQ(trace_.str().find("ini Mouse"), std::string::npos);
  EXPECT_NE(trace_.str().find("monitor off"), std::string::npos);  // the rest of the away mode
}

}  // namespace

namespace {

// Windows removes a low-level hook whose call outlasted its time-out without telling anyone.
class HookWatchdogTest : public HookProcedureTest {
 protected:
  // Whether a Caps Lock press reached the system (it is swallowed while the hooks work).
  bool CapsLockPasses() {
    trace_.str("");
    desktop_.Key({0x14, 0x3A}, false, true);
    desktop_.Key({0x14, 0x3A}, false, false);
    return trace_.str().find("14/3a") != std::string::npos;
  }
  static constexpr std::chrono::milliseconds kPeriod{kHookWatchdogPeriodMs};
  // The watchdog's lines for the debugger (the rule file watcher's left out).
  std::vector<std::string> WatchdogLines() const {
    std::vector<std::string> lines;
    for (const std::string& line : desktop_.DebugLines()) {
      if (!line.starts_with("trellin_192: rule file ")) lines.push_back(line);
    }
    return lines;
  }
};

TEST_F(HookWatchdogTest, RemovedHooksComeBackWithinOnePeriod) {
  desktop_.SystemRemovesHook(HookKind::Keyboard);
  desktop_.AdvanceTime(std::chrono::milliseconds{10});
  EXPECT_TRUE(CapsLockPasses());  // nobody decides it now
  desktop_.AdvanceTime(kPeriod);
  EXPECT_NE(trace_.str().find("post host 0x469 1 0"), std::string::npos);  // the host is told
  EXPECT_FALSE(CapsLockPasses());
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 1);
  EXPECT_EQ(desktop_.HookCount(HookKind::Mouse), 1);  // never a second one
  ASSERT_EQ(WatchdogLines().size(), 1u);
  EXPECT_NE(WatchdogLines()[0].find("installed again"), std::string::npos);
}

TEST_F(HookWatchdogTest, HooksThatSeeTheInputAreLeftAlone) {
  for (int i = 0; i < 5; ++i) {
    EXPECT_FALSE(CapsLockPasses());
    desktop_.AdvanceTime(kPeriod);
  }
  EXPECT_TRUE(WatchdogLines().empty());
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 1);
}

// Mouse movement keeps the mouse hook busy; a keyboard hook that is gone must still be noticed
// while the user holds a key.
TEST_F(HookWatchdogTest, MouseMovementDoesNotHideARemovedKeyboardHook) {
  desktop_.SystemRemovesHook(HookKind::Keyboard);
  desktop_.Key({0xA0, 0x2A}, false, true);  // Shift held, unseen by the library
  for (int i = 0; i < 10; ++i) {
    desktop_.Move(1, 0);
    desktop_.AdvanceTime(std::chrono::milliseconds{100});
  }
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 1);
  EXPECT_EQ(desktop_.HookCount(HookKind::Mouse), 1);
  desktop_.Key({0xA0, 0x2A}, false, false);  // its release now passes the library
  EXPECT_FALSE(desktop_.SystemKeyDown(0xA0));
  EXPECT_FALSE(CapsLockPasses());
}

// The secure desktop or an elevated program's window: input comes that no hook is ever given.
// Reinstalling cannot help there, so after reinstallations that brought no call the watchdog
// waits longer each time; once the hooks are called again, it is as quick as before.
TEST_F(HookWatchdogTest, InputTheHooksAreNeverGivenMakesItBackOff) {
  const auto reinstallsOver = [&](std::chrono::milliseconds span) {
    const std::size_t before = WatchdogLines().size();
    for (auto t = std::chrono::milliseconds{0}; t < span; t += std::chrono::milliseconds{100}) {
      desktop_.InputElsewhere();
      desktop_.AdvanceTime(std::chrono::milliseconds{100});
    }
    return WatchdogLines().size() - before;
  };
  const std::size_t typing = reinstallsOver(std::chrono::milliseconds{20000});
  EXPECT_GE(typing, 1u);
  EXPECT_LE(typing, 6u);  // 0.5, 1, 2, 4, 8 s apart, not 40 times
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 1);

  EXPECT_FALSE(CapsLockPasses());  // back on the user's desktop: the hooks are called
  desktop_.SystemRemovesHook(HookKind::Keyboard);
  desktop_.SystemRemovesHook(HookKind::Mouse);
  desktop_.AdvanceTime(std::chrono::milliseconds{10});
  EXPECT_TRUE(CapsLockPasses());
  desktop_.AdvanceTime(2 * kPeriod);
  EXPECT_FALSE(CapsLockPasses());
}

// While the hooks were gone, releases reached the system without the library: what the library
// held for a key that is no longer down is let go of; a key whose auto-repeat reached the system
// meanwhile is still held, and its release then ends both.
TEST_F(HookWatchdogTest, AfterAReinstallWhatLostItsKeyIsLetGo) {
  desktop_.HostSettings().Key_KeyChange = 1;
  desktop_.PushSettings();
  desktop_.SetRule("KeyChange", "14/3a", "a2/1d");  // Caps Lock as left Ctrl
  desktop_.SetRule("KeyChange", "41/1e", "42/30");  // A as B
  desktop_.Key({0x14, 0x3A}, false, true);
  desktop_.Key({0x41, 0x1E}, false, true);
  desktop_.SystemRemovesHook(HookKind::Keyboard);
  desktop_.AdvanceTime(std::chrono::milliseconds{10});
  desktop_.Key({0x14, 0x3A}, false, false);  // lost for the library
  desktop_.Key({0x41, 0x1E}, false, true);   // an auto-repeat reaches the system
  desktop_.AdvanceTime(2 * kPeriod);
  ASSERT_EQ(desktop_.HookCount(HookKind::Keyboard), 1);
  EXPECT_FALSE(desktop_.SystemKeyDown(0xA2));
  EXPECT_TRUE(desktop_.SystemKeyDown(0x42));
  desktop_.Key({0x41, 0x1E}, false, false);
  for (int key = 1; key < 256; ++key) {
    EXPECT_FALSE(desktop_.SystemKeyDown(static_cast<std::uint8_t>(key))) << key;
  }
}

// What the library itself holds down (a key and a button as remapping targets, the armed Shift)
// is no sign of input the hooks missed.
TEST_F(HookWatchdogTest, WhatTheLibraryHoldsIsNoSignOfMissedInput) {
  desktop_.HostSettings().Key_KeyChange = 1;
  desktop_.HostSettings().EnableShiftMemory = 1;
  desktop_.PushSettings();
  desktop_.SetRule("KeyChange", "41/1e", "00/11");  // A as the middle button
  desktop_.SetRule("KeyChange", "42/30", "43/2e");  // B as C
  desktop_.Key({0xA0, 0x2A}, false, true);
  desktop_.Key({0xA0, 0x2A}, false, false);
  desktop_.Key({0x41, 0x1E}, false, true);
  desktop_.Key({0x42, 0x30}, false, true);
  for (int i = 0; i < 6; ++i) {
    desktop_.Move(1, 0);
    desktop_.AdvanceTime(kPeriod);
  }
  EXPECT_TRUE(WatchdogLines().empty());
  EXPECT_TRUE(desktop_.SystemKeyDown(win::kVkMButton));
  EXPECT_TRUE(desktop_.SystemKeyDown(0x43));
  EXPECT_TRUE(desktop_.SystemKeyDown(0xA0));
}

// Paused, in the away mode or stopped, nothing is expected of the hooks.
TEST_F(HookWatchdogTest, NothingIsInstalledWhilePausedAwayOrStopped) {
  desktop_.SystemRemovesHook(HookKind::Keyboard);
  desktop_.AdvanceTime(std::chrono::milliseconds{10});
  engine_.EnableHookStatue(0);
  CapsLockPasses();
  desktop_.AdvanceTime(3 * kPeriod);
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 0);
  engine_.EnableHookStatue(1);

  desktop_.State().AwayPending = 1;
  desktop_.AdvanceTime(3 * kPeriod);
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 0);
  desktop_.State().AwayPending = 0;

  engine_.StopHook();
  CapsLockPasses();
  desktop_.AdvanceTime(3 * kPeriod);
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 0);
  EXPECT_TRUE(WatchdogLines().empty());
}

}  // namespace
