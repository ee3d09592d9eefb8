#include "common/HostMessages.h"
#include "hook/HookEngine.h"

namespace {

// Hooks silent this long while input came were not given it.
constexpr std::uint32_t kSilentHooksMs = 250;

}  // namespace

// Windows removes a low-level hook without a word when one call outlasts its time-out (also
// after a sleep or under heavy load), and the utility would then silently do nothing. Input
// that the system saw but neither hook did means they are gone: both go in again, the old
// handles first removed, so that there is never a second hook; a failed installation is tried
// again at the next tick. Not while the hooks are paused, stopped or in the away mode, when
// nothing is expected of them.
void HookEngine::CheckHooksAlive() {
  if (!local_.watchdogRunning || state_.HookEnabled == 0 || state_.AwayPending) return;
  const std::uint32_t lastInput = platform_.LastInputTick();
  const std::uint32_t now = platform_.TickCount();
  // Tick counts wrap after 49.7 days; differences stay right. Input newer than the last hook
  // call was not seen; it counts once the hooks have been silent long enough that live ones
  // would have been called by now (the user may go on typing meanwhile).
  const bool unseen = static_cast<std::int32_t>(lastInput - local_.lastHookCall) > 0;
  if (!unseen || now - local_.lastHookCall < kSilentHooksMs) return;

  platform_.RemoveHook(state_.KeyboardHook);
  platform_.RemoveHook(state_.MouseHook);
  state_.KeyboardHook = platform_.InstallHook(HookPlatform::HookKind::Keyboard);
  state_.MouseHook = platform_.InstallHook(HookPlatform::HookKind::Mouse);
  local_.lastHookCall = now;
  platform_.DebugLine(state_.KeyboardHook != 0
                          ? "trellin_192: the system had removed the hooks; installed again"
                          : "trellin_192: the system had removed the hooks; installing failed");
  platform_.PostMessageTo(state_.HostWindow, host_message::kHooksInstalledAgain,
                          state_.KeyboardHook != 0 && state_.MouseHook != 0 ? 1 : 0, 0);
}
