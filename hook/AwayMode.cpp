#include <chrono>

#include "common/HostMessages.h"
#include "hook/HookEngine.h"

namespace {

constexpr int kShowHidden = 0;  // SW_HIDE
constexpr int kShowNormal = 5;  // SW_SHOW

// Windows removes a low-level hook whose call outlasts LowLevelHooksTimeout (300 ms by
// default) without telling anyone, and filtering would silently stop. The device tool may take
// seconds, so the hook waits only this long for it (starting it and the rest of the away mode
// take their share of the 200 ms we allow); the tool finishes on its own, and a later
// run of it (the "enable" at the end of the away mode) starts only after this one has ended.
constexpr std::chrono::milliseconds kDeviceToolWait{60};

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
HookPlatform::RuleNote HookEngine::MouseOffNote(HookPlatform::RuleNote::When when) const {
  return {when, state_.ConfigIniPath, "Mouse", "OffState",
          when == HookPlatform::RuleNote::When::BeforeRun ? "1" : ""};
}

void HookEngine::EnterAwayMode() {
  local_.heldWhenAwayBegan = local_.physicallyDown;
  platform_.BroadcastMonitorOff();
  if (SwitchesMouseDevices()) {
    platform_.RunDeviceTool(state_.DevconPath, "disable =Mouse", kDeviceToolWait,
                            MouseOffNote(HookPlatform::RuleNote::When::BeforeRun));
  }
  state_.ScreenSaverWasActive = platform_.IsScreenSaverActive() ? 1 : 0;
  if (state_.ScreenSaverWasActive) platform_.SetScreenSaverActive(false);
  platform_.BroadcastMonitorOff();
  platform_.PostMessageTo(state_.HostWindow, host_message::kAwayMode, 1, 0);
  state_.AwayPending = 1;
}

// The settings in force now decide what is undone. The flag goes first: starting a program may
// let Windows deliver further events to this thread, and they must not end the away mode twice.
// The lock never waits behind a program start (a hotkey's program on an unreachable share, a
// consent prompt); the "enable" run waits behind a "disable" run that is still going.
void HookEngine::LeaveAwayMode() {
  state_.AwayPending = 0;
  if (Settings().LockWorkStation) {
    const std::string rundll = platform_.ExpandEnvironment("%windir%\\System32\\rundll32.exe");
    platform_.StartProgramAtOnce(rundll, "user32.dll, LockWorkStation", kShowNormal);
  }
  if (SwitchesMouseDevices()) {
    platform_.RunDeviceTool(state_.DevconPath, "enable =Mouse", std::chrono::milliseconds{0},
                            MouseOffNote(HookPlatform::RuleNote::When::AfterSuccess));
  }
  if (state_.ScreenSaverWasActive) platform_.SetScreenSaverActive(true);
}
