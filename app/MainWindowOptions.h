#pragma once

#include <array>
#include <cstdint>

#include "common/HookSettings.h"

// The option check boxes of the main window, each with the registry value that mirrors it, its
// default, and its field of the settings block.
struct OptionBox {
  int id;
  const char* registryName;
  int defaultValue;
  std::int32_t HookSettings::*field;
};

namespace main_window {

// In the window's top-to-bottom order.
inline constexpr std::array<OptionBox, 19> kOptionBoxes = {{
    {1003, "Lock_CapsLock", 1, &HookSettings::Lock_CapsLock},
    {1004, "Lock_Insert", 1, &HookSettings::Lock_Insert},
    {1006, "Lock_Win", 0, &HookSettings::Lock_Win},
    {1005, "Lock_NumLock", 1, &HookSettings::Lock_NumLock},
    {1007, "Lock_ShiftSpace", 1, &HookSettings::Lock_ShiftSpace},
    {1009, "Lock_CtrlSpace", 1, &HookSettings::Lock_CtrlSpace},
    {1062, "Lock_Monitor", 1, &HookSettings::Lock_Monitor},
    {1067, "LockWorkStation", 0, &HookSettings::LockWorkStation},
    {1066, "InactiveMouse", 0, &HookSettings::InactiveMouse},
    {1011, "Lock_UseRCtrl", 1, &HookSettings::Lock_UseRCtrl},
    {1023, "EnableShiftMemory", 0, &HookSettings::EnableShiftMemory},
    {1021, "EnableShiftWheel", 1, &HookSettings::EnableShiftWheel},
    {1063, "EnableAltWheel", 0, &HookSettings::EnableAltWheel},
    {1064, "RButtonWheel", 0, &HookSettings::RButtonWheel},
    {1068, "LButtonWheel", 0, &HookSettings::LButtonWheel},
    {1060, "EnableCtrlWheel", 1, &HookSettings::EnableCtrlWheel},
    {1019, "Key_KeyChange", 0, &HookSettings::Key_KeyChange},
    {1017, "Key_NoteBookMode", 0, &HookSettings::Key_NoteBookMode},
    {1029, "Key_MouseMiddleButton", 0, &HookSettings::Key_MouseMiddleButton},
}};

// The order in which the options are read into their boxes.
inline constexpr std::array<int, 18> kLoadOrder = {1062, 1067, 1066, 1007, 1009, 1003,
                                                   1004, 1006, 1005, 1011, 1017, 1019,
                                                   1029, 1023, 1021, 1063, 1064, 1068};

struct NumberEdit {
  int id;
  const char* registryName;
  int defaultValue;
  std::int32_t HookSettings::*field;
};
inline constexpr NumberEdit kShiftWheelDelta{1022, "ShiftWheelDelta", 5,
                                             &HookSettings::ShiftWheelDelta};
inline constexpr NumberEdit kCtrlWheelUnit{1026, "CtrlWheelUnit", 5000,
                                           &HookSettings::CtrlWheelUnit};

inline constexpr int kAutostart = 1001;
inline constexpr int kAutostartAsAdministrator = 1080;
inline constexpr int kHideTrayIcon = 1002;
inline constexpr int kLockWin = 1006;
inline constexpr int kLockMonitor = 1062;
inline constexpr int kInactiveMouse = 1066;
inline constexpr int kLockWorkStation = 1067;
inline constexpr int kEnableCtrlWheel = 1060;
inline constexpr int kKeyCodeDisplay = 1014;
inline constexpr int kBanner = 1016;
inline constexpr int kExitButton = 1012;
// The rule editors' buttons ("키보드 맵핑 설정...", "HOTKEY 설정...").
inline constexpr int kKeyMapButton = 1055;
inline constexpr int kHotkeyButton = 1020;
inline constexpr int kMouseMapButton = 1024;

inline constexpr int kMenuAbout = 32771;
inline constexpr int kMenuExport = 32772;
inline constexpr int kMenuImport = 32773;
inline constexpr int kMenuHide = 32774;
inline constexpr int kMenuExit = 32775;
inline constexpr int kMenuRestartElevated = 32780;

}  // namespace main_window
