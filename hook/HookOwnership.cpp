// The hooks have one owner. Every process that maps the library could call its exports: a second
// Tastron (started before the first published its window, or another user's, from the same
// unpacked copy) would otherwise run hooks beside the first one's. The claim is the only thing
// processes share; each keeps its paths, settings and hook handles in its own memory, so what
// another process writes into the shared claim can at most make a later claim fail.
#include <string>

#include "hook/HookEngine.h"

namespace {

// Claims the hooks for `self`: taken when no process holds them, or when the holder has ended
// (or its id now belongs to a process started later). Returns the process that keeps them, or
// a zero identity when `self` has them now.
ProcessIdentity ClaimHooks(HookPlatform& platform, const ProcessIdentity& self) {
  const ProcessIdentity holder = platform.ExchangeSharedOwner({}, self);
  if (holder == ProcessIdentity{} || holder == self) return {};
  if (platform.IsProcessRunning(holder)) return holder;
  // Its hooks ended with it. Another claimant may have found that out first: then it won.
  const ProcessIdentity before = platform.ExchangeSharedOwner(holder, self);
  return before == holder ? ProcessIdentity{} : before;
}

}  // namespace

bool HookEngine::MayChangeState(std::string_view exportName) {
  const ProcessIdentity self = platform_.CurrentProcess();
  // Decided from this process's own memory: the shared claim is never asked again.
  if (state_.Owner == self) return true;
  const ProcessIdentity holder = ClaimHooks(platform_, self);
  if (holder == ProcessIdentity{}) {
    state_.Owner = self;
    return true;
  }
  platform_.DebugLine("trellin_192: " + std::string(exportName) +
                      " ignored: the hooks belong to process " + std::to_string(holder.id));
  return false;
}

// Only a claim that is still this process's own is given up: one that another process wrote
// over belongs to that one now.
void HookEngine::ProcessDetaching() {
  if (state_.Owner.id == 0) return;
  platform_.ExchangeSharedOwner(state_.Owner, {});
  state_.Owner = ProcessIdentity{};
}
