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

  AwayWatchdog(TimerHost& timers, const std::string& ruleFile, const std::string& deviceTool)
      : timers_(timers), ruleFile_(ruleFile), deviceTool_(deviceTool) {}

  // Message 0x468 from the library: nonzero starts the watchdog, 0 stops it.
  void OnAwayMode(std::uintptr_t wParam);
  // An expiry of timer 1002.
  void OnTimer();

 private:
  TimerHost& timers_;
  const std::string& ruleFile_;
  const std::string& deviceTool_;
  std::uint32_t lastTick_ = 0;
};
