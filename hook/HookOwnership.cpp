// The shared state has one owner. Every process that maps the library sees the same state: a
// second Tastron (started before the first published its window, or another user's, from the
// same unpacked copy) would otherwise pause, stop or reconfigure the first one's hooks, or set
// the device-tool path that the away mode runs.
#include <string>

#include "hook/HookEngine.h"

bool HookEngine::MayChangeState(std::string_view exportName) {
  const ProcessIdentity self = platform_.CurrentProcess();
  if (state_.Owner == self) return true;
  if (state_.Owner.id != 0 && platform_.IsProcessRunning(state_.Owner)) {
    platform_.DebugLine("trellin_192: " + std::string(exportName) +
                        " ignored: the hooks belong to process " + std::to_string(state_.Owner.id));
    return false;
  }
  // No owner, or one that ended without StopHook: its hooks ended with it, and its paths and
  // settings are no one's. This process begins from the state as the library was loaded.
  state_ = HookState{};
  state_.Owner = self;
  return true;
}

void HookEngine::ProcessDetaching() {
  if (state_.Owner == platform_.CurrentProcess()) state_.Owner = ProcessIdentity{};
}
