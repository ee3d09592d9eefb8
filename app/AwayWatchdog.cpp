#include "app/AwayWatchdog.h"

#include "app/DebugTrace.h"
#include "app/MouseRepair.h"
#include "ui/CUtilityLib.h"

void AwayWatchdog::OnAwayMode(TimerHost& timers, std::uintptr_t wParam) {
  if (wParam != 0) {
    timers.SetTimer(kTimerId, kPeriodMs);
    lastTick_ = CUtilityLib::Get().TickCount();
  } else {
    timers.KillTimer(kTimerId);
  }
}

bool AwayWatchdog::OnTimer(TimerHost& timers) {
  DebugTrace("CVelloranDlg::OnTimer(%d)", static_cast<int>(kTimerId));
  Services& services = CUtilityLib::Get();
  const std::uint32_t kept = lastTick_;
  lastTick_ = services.TickCount();
  // Unsigned arithmetic, so that the tick count's wrap after 49.7 days does no harm.
  const std::uint32_t gap = services.TickCount() - kept;
  if (gap <= kGapMs) return true;
  DebugTrace("OnTimer Activate");
  RepairMouseDevices(ruleFile_, deviceTool_);
  timers.KillTimer(kTimerId);
  return false;
}
