#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>

#include "hook/PressRecord.h"
#include "hook/RuleCache.h"

// State the engine keeps per process, beside HookState (whose fields are fixed).
struct HookLocalState {
  // What each physical key's and button's press became, until its release.
  PressRecords presses;
  // Keys and buttons the user holds, by virtual key, from the physical events the hooks saw
  // (whether or not the system saw them). The system's own key state can differ: it holds what
  // the library injected and misses what it swallowed.
  std::bitset<256> physicallyDown;
  // Keys down for the system as the keyboard hook saw them go by: the last event of the key that
  // the hook let through was a press (the user's, the library's own or another program's). It
  // tells the two Shift keys apart where the system's key state mixes them up (see ModifierSides).
  std::bitset<256> passedDown;

  // The keys and buttons held when the away mode began. Their releases (and repeats) belong to
  // the gesture that began it, so they don't end it.
  std::bitset<256> heldWhenAwayBegan;

  // Physical releases that arrived while a shortcut was being sent, by virtual key, with the
  // modifiers those keys held down in their place: the user let go of these meanwhile, so the
  // shortcut must not press them again for the user afterwards.
  std::bitset<256> releasedDuringShortcut;

  // Physical releases that arrived while a filter was running (injecting, or sending a
  // shortcut). They could not be decided then, so whatever the library holds down for their
  // keys is let go of once the filter is done. A full list drops the newest.
  struct DeferredRelease {
    std::uint32_t message;
    std::uint32_t eventValue;
    std::size_t record;
  };
  std::array<DeferredRelease, 32> deferredReleases{};
  std::size_t deferredCount = 0;

  // When the system last called each hook (any event, movement included), and whether the
  // watchdog that compares them with the system's input runs. Each hook has its own time: a
  // mouse that keeps moving must not hide a keyboard hook that is gone.
  std::uint32_t lastKeyboardCall = 0;
  std::uint32_t lastMouseCall = 0;
  bool watchdogRunning = false;
  // The watchdog's last reinstallation, and how many in a row brought no hook call: input the
  // hooks are never given (the secure desktop, windows of elevated programs) must not make it
  // reinstall them at every tick.
  std::uint32_t lastReinstall = 0;
  std::uint32_t reinstallsWithoutCalls = 0;

  // Between a lock of the session and its unlock: the hooks see nothing, and nothing is expected
  // of them. `ownLockAsked`: the end of an away mode asked for the workstation's lock (at
  // `ownLockAskedAt`), so that the lock that follows does not begin the away mode again.
  bool sessionLocked = false;
  // Paused by the user (the pause hotkey, the tray): every event passes as it is, except the
  // pause hotkey, which resumes. The editors' pause and end leave it as it is.
  bool pausedByUser = false;
  bool ownLockAsked = false;
  std::uint32_t ownLockAskedAt = 0;

  // The rule file, its newest rule set taken at most once per event.
  RuleCache rules;
  bool rulesCheckedThisEvent = false;

  // The program of the foreground window, asked of the system only when another window comes to
  // the front (or while the answer may still change), and only while some program has rules of
  // its own. Its name is kept as the key that rule sections are filed under, so that a look-up
  // builds no text.
  struct ForegroundProgram {
    WindowHandle window = 0;
    bool known = false;  // `window`'s program was asked
    bool settled = false;
    std::u16string key;  // ProgramNameKey; empty: no program (only the rules for all programs)
  };
  ForegroundProgram foreground;
  bool foregroundCheckedThisEvent = false;

  // The tap-hold key not yet decided (see TapHold.cpp), and the presses and repeats of other
  // keys held back meanwhile, in their order.
  static constexpr std::size_t kTapHoldHeldBack = 16;
  struct UndecidedTapHold {
    std::size_t record = PressRecords::kNone;  // kNone: no key undecided
    HeldOutput tap;
    HeldOutput hold;
    std::uint32_t pressedAt = 0;
    std::uint32_t timeMs = 0;
    struct HeldBackPress {
      std::uint32_t message;
      std::uint32_t eventValue;
      std::size_t record;
    };
    std::array<HeldBackPress, kTapHoldHeldBack> heldBack{};
    std::size_t heldBackCount = 0;
  };
  UndecidedTapHold tapHold;
  // The last tap of a tap-hold key: its next press within the time holds the tap key down.
  struct LastTap {
    std::size_t record = PressRecords::kNone;
    std::uint32_t at = 0;
    std::uint32_t timeMs = 0;
  };
  LastTap lastTap;

  // Where the right button went down, for the drag distance of a press held back.
  std::int32_t rightPressX = 0;
  std::int32_t rightPressY = 0;
};
