#include "sim/SimDesktop.h"

#include <algorithm>

HookHandle SimDesktop::InstallHook(HookKind kind) {
  if (kind == HookKind::Keyboard) {
    if (keyboardFails_) return 0;
    ++keyboardHooks_;
    return kKeyboardHookHandle;
  }
  if (mouseFails_) return 0;
  ++mouseHooks_;
  return kMouseHookHandle;
}

// The watchdog's timer fires every period from its start, the tap-hold timer once at its time;
// a timer that time passed by inside a hook call (waiting for the device tool) comes once, when
// the thread is free again. Of two timers due together the watchdog fires first.
void SimDesktop::AdvanceTime(std::chrono::milliseconds duration) {
  const auto end = now_ + duration;
  const std::chrono::milliseconds period{kHookWatchdogPeriodMs};
  while (now_ < end) {
    auto next = end;
    if (watchdog_) next = std::min(next, std::max(now_, nextTick_));
    if (tapHoldDue_) next = std::min(next, std::max(now_, *tapHoldDue_));
    now_ = next;
    DoDueToolEffects();
    if (watchdog_ && now_ >= nextTick_) {
      while (nextTick_ <= now_) nextTick_ += period;
      Engine().CheckHooksAlive();
    }
    if (tapHoldDue_ && now_ >= *tapHoldDue_) {
      tapHoldDue_.reset();
      Engine().TapHoldTimeUp();
    }
  }
}

void SimDesktop::RemoveHook(HookHandle hook) {
  // Removing a hook the system already removed fails and changes nothing.
  if (hook == kKeyboardHookHandle && keyboardHooks_ > 0) --keyboardHooks_;
  if (hook == kMouseHookHandle && mouseHooks_ > 0) --mouseHooks_;
}

void SimDesktop::HooksRemoved(HookSet hooks) {
  if (hooks != HookSet::Mouse) SystemRemovesHook(HookKind::Keyboard);
  if (hooks != HookSet::Keyboard) SystemRemovesHook(HookKind::Mouse);
}

// The lock screen has the input until the unlock; the system lets go of everything held there.
void SimDesktop::SessionLock() {
  sessionLocked_ = true;
  if (sessionWatched_) Engine().SessionLocked();
}

void SimDesktop::SessionUnlock() {
  sessionLocked_ = false;
  systemKeys_.fill(false);
  altTapPending_ = false;
  if (sessionWatched_) Engine().SessionUnlocked();
}
