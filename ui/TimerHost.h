#pragma once

// A window's timers (SetTimer / KillTimer on it).
class TimerHost {
 public:
  virtual ~TimerHost() = default;
  virtual void SetTimer(unsigned id, unsigned milliseconds) = 0;
  virtual void KillTimer(unsigned id) = 0;
};
