#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Handles.h"
#include "common/HookSettings.h"

inline constexpr std::size_t kPathCapacity = 260;

// A process, told apart from a later one that reuses its id by the time it started (in the
// platform's own units; the Windows build keeps 32 bits of it, so that an identity fits the one
// word that the library's shared section holds).
struct ProcessIdentity {
  std::uint32_t id = 0;  // 0: none
  std::uint64_t started = 0;
  bool operator==(const ProcessIdentity&) const = default;
};

// The hook library's whole state, in the memory of the process that loaded the library: each
// process has its own, and only the one that owns the hooks (Owner, after every other field)
// ever changes its copy. What processes share is the owner's identity alone (see
// HookPlatform::ExchangeSharedOwner); nothing another process writes there reaches the paths,
// settings, handles and flags that the owner runs. Field order and initial values are fixed:
// everything 0 but Idle.
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
  std::int32_t HangulKeyDown = 0;
  std::int32_t HanjaKeyDown = 0;
  std::int32_t ShiftHeld = 0;
  std::int32_t KeyWhileShift = 0;
  std::int32_t ShiftArmed = 0;
  std::int32_t ScreenSaverWasActive = 0;
  HookSettings Settings = {};
  // This process itself once it has claimed the hooks for itself; only this process writes it.
  ProcessIdentity Owner = {};
};
