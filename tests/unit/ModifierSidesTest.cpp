// Which side of a modifier the user holds, also on a system that takes the side of a Shift from
// the extended flag (Wine's server), while keys were pressed before the hooks were installed or
// released while they were gone.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "hook/WindowsCodes.h"
#include "sim/SimDesktop.h"

namespace {

constexpr KeyCodePair kLeftShift{0xA0, 0x2A};
constexpr KeyCodePair kRightShift{0xA1, 0x36};
constexpr KeyCodePair kSpace{0x20, 0x39};
constexpr KeyCodePair kLeftWin{0x5B, 0x5B};
constexpr KeyCodePair kRightWin{0x5C, 0x5C};

enum class Do { StartHooks, Press, Release, RemoveHooks, Wait };
struct Step {
  Do what;
  KeyCodePair key{};
  int milliseconds = 0;
};

struct ShiftSpaceCase {
  const char* what;
  bool sidesFromExtendedFlag;
  std::vector<Step> steps;
  bool toggles;  // Space then gives the Korean/English key: only with the left Shift alone
};
void PrintTo(const ShiftSpaceCase& test, std::ostream* out) {
  *out << test.what;
}

// A row's test name: its description with every other character as "_".
template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& row) {
  std::string name;
  for (const char c : std::string(row.param.what))
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

class ShiftSidesTest : public ::testing::Test {
 protected:
  void Run(const Step& step) {
    switch (step.what) {
      case Do::StartHooks:
        desktop_.StartLikeHost();
        desktop_.HostSettings().Lock_ShiftSpace = 1;
        desktop_.HostSettings().Key_NoteBookMode = 1;
        desktop_.HostSettings().Lock_Win = 1;  // a Windows key the library decides is swallowed
        desktop_.PushSettings();
        return;
      case Do::Press:
        desktop_.Key(step.key, false, true);
        return;
      case Do::Release:
        desktop_.Key(step.key, false, false);
        return;
      case Do::RemoveHooks:
        desktop_.SystemRemovesHook(HookPlatform::HookKind::Keyboard);
        return;
      case Do::Wait:
        desktop_.AdvanceTime(std::chrono::milliseconds{step.milliseconds});
        return;
    }
  }

  std::ostringstream trace_;
  SimDesktop desktop_{trace_};
};

class ShiftSpaceTest : public ShiftSidesTest,
                       public ::testing::WithParamInterface<ShiftSpaceCase> {};

TEST_P(ShiftSpaceTest, OnlyTheLeftShiftMakesSpaceTheKoreanEnglishKey) {
  const ShiftSpaceCase& test = GetParam();
  desktop_.TakeSidesFromExtendedFlag(test.sidesFromExtendedFlag);
  for (const Step& step : test.steps) Run(step);
  trace_.str("");
  desktop_.Key(kSpace, false, true);
  desktop_.Key(kSpace, false, false);
  EXPECT_EQ(trace_.str().find("15/f2") != std::string::npos, test.toggles) << trace_.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShiftSpaceTest,
    ::testing::Values(
        ShiftSpaceCase{"the left Shift", false, {{Do::StartHooks}, {Do::Press, kLeftShift}}, true},
        ShiftSpaceCase{
            "the right Shift", false, {{Do::StartHooks}, {Do::Press, kRightShift}}, false},
        // The system holds the right Shift as the left one; the hooks were told the right one.
        ShiftSpaceCase{"the right Shift, held as the left one",
                       true,
                       {{Do::StartHooks}, {Do::Press, kRightShift}},
                       false},
        ShiftSpaceCase{"the left Shift, sides from the flag",
                       true,
                       {{Do::StartHooks}, {Do::Press, kLeftShift}},
                       true},
        ShiftSpaceCase{"both Shifts, sides from the flag",
                       true,
                       {{Do::StartHooks}, {Do::Press, kLeftShift}, {Do::Press, kRightShift}},
                       false},
        // The hooks never saw it go down: the system's word counts.
        ShiftSpaceCase{"the left Shift held since before the hooks",
                       false,
                       {{Do::Press, kLeftShift}, {Do::StartHooks}},
                       true},
        // The hooks saw the right Shift go down but not up, and not the left one go down: once
        // they are back, the system's word counts again.
        ShiftSpaceCase{"the right Shift let go and the left pressed while the hooks were gone",
                       false,
                       {{Do::StartHooks},
                        {Do::Press, kRightShift},
                        {Do::RemoveHooks},
                        {Do::Wait, {}, 10},
                        {Do::Release, kRightShift},
                        {Do::Press, kLeftShift},
                        {Do::Wait, {}, 2 * kHookWatchdogPeriodMs}},
                       true}),
    RowName<ShiftSpaceCase>);

// A hotkey of the right Shift fires on such a system too, and its shortcut gives the right Shift
// back as it came: once the user lets go of it, no Shift stays down.
TEST_F(ShiftSidesTest, AShortcutGivesTheRightShiftBackAsItCame) {
  desktop_.TakeSidesFromExtendedFlag(true);
  Run({Do::StartHooks});
  desktop_.SetRule("Hotkey", "4b/25/0/0/0/0/0/0/1/0", "0/45/12/0/0/0/0/0/0/0/0");
  Run({Do::Press, kRightShift});
  trace_.str("");
  Run({Do::Press, {0x4B, 0x25}});
  Run({Do::Release, {0x4B, 0x25}});
  Run({Do::Release, kRightShift});
  EXPECT_EQ(trace_.str(),
            "key up a1/36 injected\n"
            "key down 45/12 ext injected\n"
            "key up 45/12 ext injected\n"
            "key down a1/36 injected\n"
            "key up a1/36\n");
  EXPECT_FALSE(desktop_.SystemKeyDown(win::kVkLShift));
  EXPECT_FALSE(desktop_.SystemKeyDown(win::kVkRShift));
}

// Both Shifts held where the system names both the left one: when the watchdog puts a lost hook
// back, the right Shift still counts as held (the system holds it as the left one), so its
// release reaches the system rather than being taken for one nobody pressed.
TEST_F(ShiftSidesTest, ARightShiftHeldAcrossAReinstallStillComesUp) {
  desktop_.TakeSidesFromExtendedFlag(true);
  Run({Do::StartHooks});
  Run({Do::Press, kLeftShift});
  Run({Do::Press, kRightShift});
  desktop_.SystemRemovesHook(HookPlatform::HookKind::Mouse);
  Run({Do::Wait, {}, 10});
  desktop_.Move(3, 0);  // missed by the mouse hook
  Run({Do::Wait, {}, 2 * kHookWatchdogPeriodMs});
  ASSERT_EQ(desktop_.State().MouseHook != 0, true);
  trace_.str("");
  Run({Do::Release, kRightShift});
  Run({Do::Release, kLeftShift});
  EXPECT_EQ(trace_.str(), "key up a1/36\nkey up a0/2a\n");
  EXPECT_FALSE(desktop_.SystemKeyDown(win::kVkLShift));
}

// One side of a modifier held as the hooks saw it (pressed while paused, so that the system
// holds it too), the other pressed while they were gone: once
// they are back, the other is the user's own key, not the first one under another name (the
// system mixes up only Shift, Ctrl and Alt, and only by the extended flag). Its repeats and its
// release reach the system, and nothing stays down.
struct OtherSideCase {
  const char* what;
  bool sidesFromExtendedFlag;
  KeyCodePair seen;
  KeyCodePair unseen;
};
void PrintTo(const OtherSideCase& test, std::ostream* out) {
  *out << test.what;
}

class OtherSideTest : public ShiftSidesTest, public ::testing::WithParamInterface<OtherSideCase> {};

TEST_P(OtherSideTest, AKeyPressedWhileTheHooksWereGoneIsNotTakenForItsOtherSide) {
  const OtherSideCase& test = GetParam();
  desktop_.TakeSidesFromExtendedFlag(test.sidesFromExtendedFlag);
  Run({Do::StartHooks});
  desktop_.Engine().EnableHookStatue(0);
  desktop_.Key(test.seen, false, true);
  desktop_.Engine().EnableHookStatue(1);
  Run({Do::RemoveHooks});
  Run({Do::Wait, {}, 10});
  desktop_.Key(test.unseen, false, true);
  Run({Do::Wait, {}, 2 * kHookWatchdogPeriodMs});
  desktop_.Key(test.unseen, false, true);  // an auto-repeat, now decided by the library
  desktop_.Key(test.unseen, false, false);
  desktop_.Key(test.seen, false, false);
  for (int key = 1; key < 256; ++key) {
    EXPECT_FALSE(desktop_.SystemKeyDown(static_cast<std::uint8_t>(key))) << key;
  }
  EXPECT_TRUE(desktop_.ReleasesOfKeysUp().empty()) << desktop_.ReleasesOfKeysUp().front();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OtherSideTest,
    ::testing::Values(
        OtherSideCase{"right Win held, left pressed", false, kRightWin, kLeftWin},
        OtherSideCase{"left Win held, right pressed", false, kLeftWin, kRightWin},
        OtherSideCase{"left Win held, right pressed, sides from the flag", true, kLeftWin,
                      kRightWin},
        OtherSideCase{"left Shift held, right pressed", false, kLeftShift, kRightShift},
        OtherSideCase{"left Ctrl held, right pressed", false, {0xA2, 0x1D}, {0xA3, 0x1D}}),
    RowName<OtherSideCase>);

}  // namespace
