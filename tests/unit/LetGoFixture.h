#pragma once
// What the tests of letting go and of the away mode share: a host with remappings, Shift memory,
// the Korean right Ctrl and Num Lock's neutralisation on, and ways to hold all of them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "hook/WindowsCodes.h"
#include "sim/SimDesktop.h"

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
