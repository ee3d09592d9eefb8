#include "app/ForegroundRights.h"

#include <cstdio>
#include <string>

#include "app/DebugTrace.h"
#include "common/HostMessages.h"
#include "ui/CUtilityLib.h"

namespace {

std::string LevelText(std::optional<std::uint32_t> level) {
  if (!level) return "unknown";
  char text[16];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(*level));
  return text;
}

}  // namespace

bool Outranks(const ForegroundProcess& front, std::optional<std::uint32_t> ownLevel) {
  if (!front.window || !ownLevel) return false;
  return !front.integrityLevel || *front.integrityLevel > *ownLevel;
}

void ForegroundRights::Start(WindowHandle window) {
  Services& services = CUtilityLib::Get();
  ownLevel_ = services.IntegrityLevel();
  watch_ = services.WatchForeground(window, host_message::kForegroundChanged);
  if (!watch_) DebugTrace("ForegroundRights: no foreground notifications");
  Update();
}

// One debugger line for each change of the window in front: the one trace of why the banner
// says what it says there.
bool ForegroundRights::Update() {
  const ForegroundProcess front = CUtilityLib::Get().ForegroundProcessRights();
  const bool outranked = Outranks(front, ownLevel_);
  DebugTrace("ForegroundRights: %s, level %s, ours %s%s", front.window ? "a window" : "no window",
             LevelText(front.integrityLevel).c_str(), LevelText(ownLevel_).c_str(),
             outranked ? ": outranked" : "");
  const bool changed = outranked != outranked_;
  outranked_ = outranked;
  return changed;
}
