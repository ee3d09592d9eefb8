#pragma once

#include <cstddef>
#include <cstdint>

#include "common/HookSettings.h"

// Handles as the engine stores them; the Windows build keeps real HWND/HHOOK values in them.
using WindowHandle = std::uintptr_t;
using HookHandle = std::uintptr_t;

inline constexpr std::size_t kPathCapacity = 260;

// A process, told apart from a later one that reuses its id by the time it started.
struct ProcessIdentity {
  std::uint32_t id = 0;  // 0: none
  std::uint64_t started = 0;
  bool operator==(const ProcessIdentity&) const = default;
};

// The hook library's whole state. The Windows build places one instance in the shared data
// section "KMHook", which every process that maps the library sees; only the process that owns
// it (Owner, after every other field) changes it. Field order and initial values are part of
// that layout: everything 0 but Idle.
struct HookState {
  WindowHandle HostWindow = 0;
  HookHandle KeyboardHook = 0;
  HookHandle MouseHook = 0;
  char DevconPath[kPathCapacity] = {};
  char ConfigIniPath[kPathCapacity] = {};
  std::int32_t AwayPending = 0;
  std::int32_t HookEnabled = 0;
  std::int32_t Idle = 1;
  std::int32_t SuppressAll = 0;
  // Unused, as are SwallowRButtonUp, SwallowLButtonUp and LastHotkey: what a press became is
  // kept per physical key in HookLocalState now. They stay for the section's layout.
  std::int32_t HanToggleSent = 0;
  std::int32_t HanjaSent = 0;
  std::int32_t HangulKeyDown = 0;
  std::int32_t HanjaKeyDown = 0;
  std::int32_t ShiftHeld = 0;
  std::int32_t KeyWhileShift = 0;
  std::int32_t ShiftArmed = 0;
  std::int32_t SwallowRButtonUp = 0;
  std::int32_t SwallowLButtonUp = 0;
  std::uint32_t LastHotkey = 0;
  std::int32_t ScreenSaverWasActive = 0;
  HookSettings Settings = {};
  ProcessIdentity Owner = {};
};
