#pragma once

#include <cstddef>
#include <cstdint>

// The settings block that the main window fills and hands to the hook library with UpdateValue.
// The layout is an interface between two binaries: 21 signed 32-bit integers, no padding, each
// named after the registry value under the Config key that mirrors it. Never reorder.
struct HookSettings {
  std::int32_t Lock_Monitor;
  std::int32_t LockWorkStation;
  std::int32_t InactiveMouse;
  std::int32_t Lock_ShiftSpace;
  std::int32_t Lock_CtrlSpace;
  std::int32_t Lock_UseRCtrl;
  std::int32_t Lock_CapsLock;
  std::int32_t Lock_Insert;
  std::int32_t Lock_NumLock;
  std::int32_t Lock_Win;
  std::int32_t Key_NoteBookMode;
  std::int32_t Key_KeyChange;
  std::int32_t Key_MouseMiddleButton;
  std::int32_t EnableShiftMemory;
  std::int32_t EnableShiftWheel;
  std::int32_t EnableAltWheel;
  std::int32_t RButtonWheel;
  std::int32_t LButtonWheel;
  std::int32_t ShiftWheelDelta;
  std::int32_t EnableCtrlWheel;
  std::int32_t CtrlWheelUnit;
};

static_assert(sizeof(HookSettings) == 84, "HookSettings is an 84-byte binary interface");
static_assert(offsetof(HookSettings, Lock_Monitor) == 0);
static_assert(offsetof(HookSettings, LockWorkStation) == 4);
static_assert(offsetof(HookSettings, InactiveMouse) == 8);
static_assert(offsetof(HookSettings, Lock_ShiftSpace) == 12);
static_assert(offsetof(HookSettings, Lock_CtrlSpace) == 16);
static_assert(offsetof(HookSettings, Lock_UseRCtrl) == 20);
static_assert(offsetof(HookSettings, Lock_CapsLock) == 24);
static_assert(offsetof(HookSettings, Lock_Insert) == 28);
static_assert(offsetof(HookSettings, Lock_NumLock) == 32);
static_assert(offsetof(HookSettings, Lock_Win) == 36);
static_assert(offsetof(HookSettings, Key_NoteBookMode) == 40);
static_assert(offsetof(HookSettings, Key_KeyChange) == 44);
static_assert(offsetof(HookSettings, Key_MouseMiddleButton) == 48);
static_assert(offsetof(HookSettings, EnableShiftMemory) == 52);
static_assert(offsetof(HookSettings, EnableShiftWheel) == 56);
static_assert(offsetof(HookSettings, EnableAltWheel) == 60);
static_assert(offsetof(HookSettings, RButtonWheel) == 64);
static_assert(offsetof(HookSettings, LButtonWheel) == 68);
static_assert(offsetof(HookSettings, ShiftWheelDelta) == 72);
static_assert(offsetof(HookSettings, EnableCtrlWheel) == 76);
static_assert(offsetof(HookSettings, CtrlWheelUnit) == 80);
