#include <chrono>

#include "common/HostMessages.h"
#include "hook/HookEngine.h"

namespace {

constexpr int kShowNormal = 5;  // SW_SHOW

}  // namespace

// The mouse devices are switched only where the switch can be noted in the rule file: without
// the note, devices left off by a crash would stay off. The host hands over no rule file path
// when the system's code page cannot hold it.
bool HookEngine::SwitchesMouseDevices() const {
  return Settings().InactiveMouse && state_.ConfigIniPath[0] != '\0';
}

// The note that the mouse devices are off goes with the device tool's runs, in their order:
// written before a "disable" run starts, deleted only once an "enable" run has switched them on
// again. Tastron ending meanwhile, or an "enable" that failed, leaves the note for the next start
// to repair; and a note written for a later "disable" is never deleted by an earlier "enable".
HookPlatform::DeviceToolEntry HookEngine::MouseOffEntry(
    HookPlatform::DeviceToolEntry::When when) const {
  return {when, state_.ConfigIniPath, "Mouse", "OffState",
          when == HookPlatform::DeviceToolEntry::When::BeforeRun ? "1" : ""};
}

// Windows removes a low-level hook whose call outlasts LowLevelHooksTimeout, and the device
// tool may take seconds, so the hook never waits for it. A moved mouse wakes the monitor until
// the "disable" run has ended; so where the mouse goes off, the second broadcast comes from the
// tool's worker once the run is over. Without it, both go at once, as they always have.
void HookEngine::EnterAwayMode() {
  local_.heldWhenAwayBegan = local_.physicallyDown;
  platform_.BroadcastMonitorOff();
  const bool mouseOff = SwitchesMouseDevices();
  if (mouseOff) {
    platform_.RunDeviceTool(state_.DevconPath, "disable =Mouse", std::chrono::milliseconds{0},
                            MouseOffEntry(HookPlatform::DeviceToolEntry::When::BeforeRun), true);
  }
  state_.ScreenSaverWasActive = platform_.IsScreenSaverActive() ? 1 : 0;
  if (state_.ScreenSaverWasActive) platform_.SetScreenSaverActive(false);
  if (!mouseOff) platform_.BroadcastMonitorOff();
  platform_.PostMessageTo(state_.HostWindow, host_message::kAwayMode, 1, 0);
  state_.AwayPending = 1;
}

// The settings in force now decide what is undone. The flag goes first: starting a program may
// let Windows deliver further events to this thread, and they must not end the away mode twice.
// The lock never waits behind a program start (a hotkey's program on an unreachable share, a
// consent prompt); the "enable" run waits behind a "disable" run that is still going. At an
// unlock the user has just signed in: locking again would send them back to the lock screen.
void HookEngine::LeaveAwayMode(AwayEnd end) {
  state_.AwayPending = 0;
  if (end == AwayEnd::Input && Settings().LockWorkStation) {
    const std::string rundll = platform_.ExpandEnvironment("%windir%\\System32\\rundll32.exe");
    platform_.StartOnLockWorker(rundll, "user32.dll, LockWorkStation", kShowNormal);
    local_.ownLockAsked = true;
    local_.ownLockAskedAt = platform_.TickCount();
  }
  if (SwitchesMouseDevices()) {
    platform_.RunDeviceTool(state_.DevconPath, "enable =Mouse", std::chrono::milliseconds{0},
                            MouseOffEntry(HookPlatform::DeviceToolEntry::When::AfterSuccess),
                            false);
  }
  if (state_.ScreenSaverWasActive) platform_.SetScreenSaverActive(true);
}
