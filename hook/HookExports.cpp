#include <cstring>

#include "common/HookExports.h"
#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

namespace {

// The path fields hold 259 characters and the terminating zero; a longer path is cut there
// rather than written past the field.
void CopyPath(char (&field)[kPathCapacity], const char* path) {
  if (path == nullptr) {
    field[0] = '\0';
    return;
  }
  const std::size_t length = strnlen(path, kPathCapacity - 1);
  std::memcpy(field, path, length);
  field[length] = '\0';
}

}  // namespace

std::int32_t HookEngine::StartHook(WindowHandle hostWindow) {
  if (!MayChangeState("StartHook") || state_.KeyboardHook != 0) return 0;
  state_.HostWindow = hostWindow;
  state_.KeyboardHook = platform_.InstallHook(HookPlatform::HookKind::Keyboard);
  // The mouse hook goes in whatever happened to the keyboard hook; its failure is not reported.
  state_.MouseHook = platform_.InstallHook(HookPlatform::HookKind::Mouse);
  local_.lastKeyboardCall = local_.lastMouseCall = platform_.TickCount();
  local_.lastReinstall = local_.lastKeyboardCall;
  local_.reinstallsWithoutCalls = 0;
  if (state_.KeyboardHook != 0) {
    // The watcher reads the rule file before the first key needs it.
    local_.rules.TakeLatest(platform_, state_.ConfigIniPath);
    local_.watchdogRunning = true;
    platform_.StartHookWatchdog();
    local_.sessionLocked = false;
    platform_.WatchSessionChanges(true);
  }
  return state_.KeyboardHook != 0 ? 1 : 0;
}

// Whatever the library holds down for the system is let go of first: once the hooks are gone,
// nothing could release it. A right press still held back goes to the system, so that its
// release, which no hook will see, ends a click rather than coming alone. Whatever became of
// the hooks (a reinstallation may have failed for one of them), none is left behind, nor the
// watchdog's timer or the rule file's watch.
std::int32_t HookEngine::StopHook() {
  if (!MayChangeState("StopHook")) return 0;
  LetGoOfEverything();
  WithInjectionPassing([&] {
    const PressRecord& right = local_.presses[PressRecords::ButtonIndex(win::kVkRButton)];
    if (right.fate == PressRecord::Fate::HeldBack && !right.scrolled) {
      platform_.InjectMouse(win::kMouseRightDown);
    }
  });
  // No hook sees the releases still to come: the next start begins without records. A pause
  // by the user ends with the Tastron that stops.
  ForgetEverythingHeld();
  local_.pausedByUser = false;
  if (local_.watchdogRunning) {
    local_.watchdogRunning = false;
    platform_.StopHookWatchdog();
  }
  platform_.WatchSessionChanges(false);
  local_.rules.StopWatching(platform_);
  const bool keyboardHooked = state_.KeyboardHook != 0;
  if (!keyboardHooked && state_.MouseHook == 0) return 0;
  if (keyboardHooked) platform_.RemoveHook(state_.KeyboardHook);
  state_.KeyboardHook = 0;
  if (state_.MouseHook != 0) platform_.RemoveHook(state_.MouseHook);
  state_.MouseHook = 0;
  state_.HostWindow = 0;
  // As before: 1 only when the keyboard hook was there to remove.
  return keyboardHooked ? 1 : 0;
}

void HookEngine::SetConfigINI(const char* path) {
  if (!MayChangeState("SetConfigINI")) return;
  CopyPath(state_.ConfigIniPath, path);
  if (state_.KeyboardHook != 0) local_.rules.TakeLatest(platform_, state_.ConfigIniPath);
}

void HookEngine::SetDevconPath(const char* path) {
  if (!MayChangeState("SetDevconPath")) return;
  CopyPath(state_.DevconPath, path);
}

// A pause (an editor opens) lets go of the Shift that Shift memory holds: the user types into the
// editor next, and nothing there would ever release it. Keys whose press the library replaced
// still end as they began (see the dispatcher).
void HookEngine::EnableHookStatue(std::int32_t enabled) {
  if (!MayChangeState("EnableHookStatue")) return;
  if (enabled == hook_enable::kUserPause || enabled == hook_enable::kUserResume) {
    PauseByUser(enabled == hook_enable::kUserPause);
    return;
  }
  // A key still undecided becomes a hold, as if its time were up, and the presses it held back
  // follow as the rules before the pause decide them.
  if (enabled == 0) HoldUndecidedNow();
  state_.HookEnabled = enabled;
  if (enabled == 0) LetGoOfArmedShift();
}

// Switching Shift memory off lets go of the Shift it holds and forgets a tap in progress.
void HookEngine::UpdateValue(const HookSettings* settings) {
  if (!MayChangeState("UpdateValue")) return;
  if (settings == nullptr) return;
  std::memcpy(&state_.Settings, settings, sizeof(HookSettings));
  if (state_.Settings.EnableShiftMemory == 0) {
    LetGoOfArmedShift();
    state_.ShiftHeld = 0;
    state_.KeyWhileShift = 0;
  }
}
