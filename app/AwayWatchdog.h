#pragma once

#include <cstdint>
#include <string>

#include "ui/TimerHost.h"

// While the away mode lasts, the main window watches for a gap in its own timer: a timer that
// went unserved for more than 5 seconds means the computer slept, and the library may never
// have switched the mouse devices on again. Then the window does it itself, from "OffState".
class AwayWatchdog {
 public:
  static constexpr unsigned kTimerId = 1002;
  static constexpr unsigned kPeriodMs = 500;
  static constexpr std::uint32_t kGapMs = 5000;

  // The paths belong to the main window and live as long as it.
  AwayWatchdog(const std::string& ruleFile, const std::string& deviceTool)
      : ruleFile_(ruleFile), deviceTool_(deviceTool) {}

  // Message 0x468 from the library: nonzero starts the watchdog on the window's timers, 0 stops
  // it.
  void OnAwayMode(TimerHost& timers, std::uintptr_t wParam);
  // An expiry of timer 1002; false once it has stopped the watchdog.
  bool OnTimer(TimerHost& timers);

 private:
  const std::string& ruleFile_;
  const std::string& deviceTool_;
  std::uint32_t lastTick_ = 0;
};
