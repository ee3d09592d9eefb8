#include "hook/HookEngine.h"

namespace {

// A lock that comes this soon after the end of an away mode asked for one is that lock.
constexpr std::uint32_t kOwnLockMs = 10000;

}  // namespace

// Since Vista no hook can stop Win+L: the session locks at L's press, and the releases go to the
// lock screen. So the lock itself begins the away mode where Win+L would have (and where the
// user locks otherwise, as with Ctrl+Alt+Del). Where Win+L does not lock, L's release began it
// already. The lock that the end of an away mode asked for is not the user leaving again.
void HookEngine::SessionLocked() {
  local_.sessionLocked = true;
  // The keys go to the lock screen: an undecided key must not become a hold there.
  DropUndecidedTapHold();
  const bool ownLock =
      local_.ownLockAsked && platform_.TickCount() - local_.ownLockAskedAt < kOwnLockMs;
  local_.ownLockAsked = false;
  if (ownLock || !Settings().Lock_Monitor || state_.AwayPending || state_.HookEnabled == 0 ||
      local_.pausedByUser || !platform_.IsWindow(state_.HostWindow)) {
    return;
  }
  EnterAwayMode();
}

// The user has signed in again: the away mode ends without a second lock. Everything held at the
// lock came up on the lock screen, out of the hooks' sight. Windows may have dropped the hooks
// meanwhile; the watchdog judges them afresh from now on, so that the typing on the lock screen
// (input the hooks were never given) does not count against them.
void HookEngine::SessionUnlocked() {
  local_.sessionLocked = false;
  ForgetEverythingHeld();
  if (state_.AwayPending) LeaveAwayMode(AwayEnd::Unlock);
  local_.lastKeyboardCall = local_.lastMouseCall = local_.lastReinstall = platform_.TickCount();
  local_.reinstallsWithoutCalls = 0;
}
