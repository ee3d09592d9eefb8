#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

// The mouse hook goes in all the same; StopHook reports what it did with the keyboard hook, but
// leaves no hook behind (the library may be unloaded next).
TEST_F(HookEngineTest, AFailedKeyboardHookIsReportedAndStopHookLeavesNoMouseHook) {
  desktop_.FailHookInstall(HookKind::Keyboard);
  EXPECT_EQ(engine_.StartHook(desktop_.HostWindow()), 0);
  EXPECT_NE(desktop_.State().MouseHook, 0u);
  EXPECT_EQ(engine_.StopHook(), 0);
  EXPECT_FALSE(desktop_.HookInstalled(HookKind::Mouse));
  EXPECT_EQ(desktop_.State().MouseHook, 0u);
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
  // A tap of Caps Lock; the press's verdict. (A press while the key is down is a repeat, which
  // follows what the first press became.)
  HookVerdict CapsLock(int code = win::kHcAction, std::uintptr_t extra = 0) {
    const HookVerdict press =
        engine_.KeyboardProcedure(code, win::kWmKeyDown, win::kVkCapital, 0x3A, 0, extra);
    engine_.KeyboardProcedure(code, win::kWmKeyUp, win::kVkCapital, 0x3A, 0, extra);
    return press;
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
  EXPECT_EQ(engine_.KeyboardProcedure(win::kHcAction, win::kWmKeyDown, 0xABC0014, 0x3A, 0, 0),
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

// The stored step is the user's number, whatever its size; what one notch posts inside the hook
// call stays within what the window's message queue takes.
TEST_F(HookProcedureTest, OneNotchPostsTheStoredStepUpToTheLibrarysBound) {
  desktop_.HostSettings().EnableShiftWheel = 1;
  desktop_.DeclareWindow("doc", "Notepad", false, nullptr, nullptr);
  desktop_.Focus("doc");
  desktop_.Key({0xA0, 0x2A}, false, true);  // left Shift
  const std::vector<std::pair<std::int32_t, std::size_t>> cases = {
      {200, 200}, {1000, 1000}, {1001, 1000}, {2147483647, 1000}, {0, 1}, {-5, 1}};
  for (const auto& [step, posted] : cases) {
    desktop_.HostSettings().ShiftWheelDelta = step;
    desktop_.PushSettings();
    trace_.str("");
    desktop_.Wheel(-120);
    std::size_t scrolls = 0;
    for (std::size_t at = 0; (at = trace_.str().find("hscroll doc 1 0\n", at)) != std::string::npos;
         ++at) {
      ++scrolls;
    }
    EXPECT_EQ(scrolls, posted) << step;
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
  EXPECT_EQ(engine_.KeyboardProcedure(win::kHcAction, win::kWmKeyDown, 0x41, 0x1E, 0, 0),
            HookVerdict::Swallow);
  EXPECT_EQ(engine_.KeyboardProcedure(win::kHcAction, win::kWmKeyDown, 0x41, 0x1E, 0,
                                      kLibraryInjectionTag),
            HookVerdict::CallNext);
  desktop_.State().SuppressAll = 0;

  // While a filter runs, events pass untouched. (A press only: its release would wait for the
  // filter's end, which this test plays no part of.)
  EXPECT_EQ(engine_.KeyboardProcedure(win::kHcAction, win::kWmKeyDown, win::kVkCapital, 0x3A,
                                      win::kLowLevelExtended, 0),
            HookVerdict::CallNext);
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
  void ExpectNothingDownForTheSystem() {
    for (int key = 1; key < 256; ++key) {
      EXPECT_FALSE(desktop_.SystemKeyDown(static_cast<std::uint8_t>(key))) << key;
    }
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
  ExpectNothingDownForTheSystem();
}

// Silent hooks with nothing lost (a consent prompt, an elevated window in front): the system
// shows a remapped key up, so its target is let go of; but the key may still be held, and its
// next auto-repeat puts the same target down again, whatever the rules say by then.
TEST_F(HookWatchdogTest, AfterASilenceAHeldKeysRepeatPutsItsTargetDownAgain) {
  desktop_.HostSettings().Key_KeyChange = 1;
  desktop_.PushSettings();
  desktop_.SetRule("KeyChange", "14/3a", "a2/1d");  // Caps Lock as left Ctrl
  desktop_.Key({0x14, 0x3A}, false, true);
  desktop_.AdvanceTime(std::chrono::milliseconds{10});
  desktop_.InputElsewhere();
  desktop_.AdvanceTime(2 * kPeriod);
  ASSERT_EQ(WatchdogLines().size(), 1u);
  EXPECT_FALSE(desktop_.SystemKeyDown(0xA2));
  desktop_.SetRule("KeyChange", "14/3a", "a3/1d");
  desktop_.Key({0x14, 0x3A}, false, true);
  EXPECT_TRUE(desktop_.SystemKeyDown(0xA2));
  EXPECT_FALSE(desktop_.SystemKeyDown(0xA3));
  desktop_.Key({0x14, 0x3A}, false, false);
  ExpectNothingDownForTheSystem();
}

// The Korean right Ctrl and right Alt whose release was lost while the hooks were gone are up
// once they are back, whether their press passed or was replaced: else every wheel notch would
// be a volume step, and every hotkey would need right Ctrl.
TEST_F(HookWatchdogTest, AfterAReinstallTheKoreanRightKeysAreUp) {
  struct Row {
    KeyCodePair key;
    std::int32_t useRightCtrl;
    std::int32_t HookState::*tracked;
  };
  const Row rows[] = {
      {{0x19, 0x1D}, 0, &HookState::HanjaKeyDown},
      {{0x19, 0x1D}, 1, &HookState::HanjaKeyDown},
      {{0x15, 0x38}, 0, &HookState::HangulKeyDown},
  };
  desktop_.HostSettings().EnableCtrlWheel = 1;
  desktop_.HostSettings().CtrlWheelUnit = 5000;
  for (const Row& row : rows) {
    desktop_.HostSettings().Lock_UseRCtrl = row.useRightCtrl;
    desktop_.PushSettings();
    desktop_.Key(row.key, false, true);
    ASSERT_EQ(desktop_.State().*row.tracked, 1);
    desktop_.SystemRemovesHook(HookKind::Keyboard);
    desktop_.AdvanceTime(std::chrono::milliseconds{10});
    desktop_.Key(row.key, false, false);  // lost for the library
    desktop_.AdvanceTime(2 * kPeriod);
    ASSERT_EQ(desktop_.HookCount(HookKind::Keyboard), 1);
    EXPECT_EQ(desktop_.State().*row.tracked, 0) << row.key.virtualKey;
    trace_.str("");
    desktop_.Wheel(120);
    EXPECT_EQ(trace_.str(), "wheel 120\n");
  }
}

// A reinstallation may fail for the keyboard hook alone: StopHook still takes out the mouse hook
// that went in again.
TEST_F(HookWatchdogTest, StopHookAfterAFailedReinstallLeavesNoHook) {
  desktop_.SystemRemovesHook(HookKind::Keyboard);
  desktop_.FailHookInstall(HookKind::Keyboard);
  desktop_.AdvanceTime(std::chrono::milliseconds{10});
  CapsLockPasses();
  desktop_.AdvanceTime(kPeriod);
  ASSERT_EQ(desktop_.State().KeyboardHook, 0u);
  ASSERT_EQ(desktop_.HookCount(HookKind::Mouse), 1);
  EXPECT_EQ(engine_.StopHook(), 0);
  EXPECT_EQ(desktop_.HookCount(HookKind::Mouse), 0);
  EXPECT_EQ(desktop_.State().MouseHook, 0u);
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

// Paused, with the session locked or stopped, nothing is expected of the hooks.
TEST_F(HookWatchdogTest, NothingIsInstalledWhilePausedLockedOrStopped) {
  desktop_.SystemRemovesHook(HookKind::Keyboard);
  desktop_.AdvanceTime(std::chrono::milliseconds{10});
  engine_.EnableHookStatue(0);
  CapsLockPasses();
  desktop_.AdvanceTime(3 * kPeriod);
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 0);
  engine_.EnableHookStatue(1);

  desktop_.SessionLock();
  desktop_.InputElsewhere();  // typed on the lock screen
  desktop_.AdvanceTime(3 * kPeriod);
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 0);
  desktop_.SessionUnlock();

  engine_.StopHook();
  CapsLockPasses();
  desktop_.AdvanceTime(3 * kPeriod);
  EXPECT_EQ(desktop_.HookCount(HookKind::Keyboard), 0);
  EXPECT_TRUE(WatchdogLines().empty());
}

}  // namespace

namespace {

// Which locks of the session begin the away mode: those of a user who leaves, with Lock_Monitor
// on and the hooks not paused; not the one the end of an away mode asked for, unless it comes
// so late that it must be another.
struct SessionLockCase {
  const char* name;
  bool lockMonitor;
  bool paused;
  std::optional<std::chrono::milliseconds> sinceOwnLockAsked;  // nullopt: none was asked
  bool awayBegins;
};

void PrintTo(const SessionLockCase& test, std::ostream* out) {
  *out << test.name;
}

class SessionLockTest : public HookProcedureTest,
                        public ::testing::WithParamInterface<SessionLockCase> {};

TEST_P(SessionLockTest, BeginsTheAwayModeOnlyWhenTheUserLeaves) {
  const SessionLockCase& test = GetParam();
  desktop_.HostSettings().Lock_Monitor = test.lockMonitor;
  desktop_.HostSettings().LockWorkStation = 1;
  desktop_.PushSettings();
  if (test.sinceOwnLockAsked) {
    desktop_.State().AwayPending = 1;
    desktop_.Key({0x41, 0x1E}, false, true);  // the user is back: the lock is asked for
    desktop_.Key({0x41, 0x1E}, false, false);
    ASSERT_NE(trace_.str().find("LockWorkStation"), std::string::npos);
    desktop_.AdvanceTime(*test.sinceOwnLockAsked);
  }
  engine_.EnableHookStatue(test.paused ? 0 : 1);
  trace_.str("");
  desktop_.SessionLock();
  EXPECT_EQ(desktop_.State().AwayPending, test.awayBegins ? 1 : 0);
  EXPECT_EQ(trace_.str().find("monitor off") != std::string::npos, test.awayBegins);
  desktop_.SessionUnlock();
  EXPECT_EQ(desktop_.State().AwayPending, 0);
  EXPECT_EQ(trace_.str().find("LockWorkStation"), std::string::npos);  // never a second lock
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SessionLockTest,
    ::testing::Values(SessionLockCase{"the user leaves", true, false, std::nullopt, true},
                      SessionLockCase{"Lock_Monitor off", false, false, std::nullopt, false},
                      SessionLockCase{"paused", true, true, std::nullopt, false},
                      SessionLockCase{"the library's own lock", true, false,
                                      std::chrono::milliseconds{3000}, false},
                      SessionLockCase{"a lock long after the library's", true, false,
                                      std::chrono::milliseconds{11000}, true}));

}  // namespace
