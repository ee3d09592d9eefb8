// Nothing the library puts down for the system stays down once it loses its say.
#include <utility>

#include "common/HookExports.h"
#include "tests/unit/LetGoFixture.h"

namespace {

using HookKind = HookPlatform::HookKind;

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

// Paused (by an editor, or by the user as the pause hotkey and the tray pause), the keys whose
// press the library replaced still end as they began; a key pressed while paused passes both
// ways, also once the hooks run again.
TEST_F(LetGoTest, APauseNeverStrandsAKeyEitherWay) {
  using namespace hook_enable;
  for (const auto& [pause, resume] :
       {std::pair{kPause, kRun}, std::pair{kUserPause, kUserResume}}) {
    SCOPED_TRACE(pause);
    HoldEverything();
    engine_.EnableHookStatue(pause);
    EXPECT_FALSE(desktop_.SystemKeyDown(win::kVkLShift));  // the pause lets go of Shift memory
    Press({0x43, 0x2E});                                   // C pressed while paused
    engine_.EnableHookStatue(resume);
    Rule("KeyChange", "43/2e", "44/20");  // and a rule for it added before its release
    for (KeyCodePair key :
         {KeyCodePair{0x14, 0x3A}, {0x41, 0x1E}, {0x19, 0x1D}, {0x90, 0x45}, {0x43, 0x2E}}) {
      Release(key);
    }
    EXPECT_EQ(KeysDownForTheSystem(), 0);
    desktop_.RemoveRule("KeyChange", "43/2e");
  }
}

// The user's pause ends with the Tastron that stops: the next start filters again.
TEST_F(LetGoTest, AStopEndsTheUsersPause) {
  engine_.EnableHookStatue(hook_enable::kUserPause);
  engine_.StopHook();
  desktop_.StartLikeHost();
  Press({0x14, 0x3A});
  EXPECT_TRUE(desktop_.SystemKeyDown(win::kVkLControl));
  Release({0x14, 0x3A});
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

}  // namespace
