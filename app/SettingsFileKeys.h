#pragma once

#include <array>

// Section "KeyState" of a settings file (.cfg): each key with the main window's control it is
// taken from, the registry value an import sets and the value a missing key imports as. The
// order is the order of the file. "키보드 맵핑 사용하기", the tray option and autostart belong
// to one computer and are not carried.
struct SettingsFileKey {
  const char* key;
  int controlId;
  const char* registryName;
  int defaultValue;
  bool isEdit;  // the control's text goes into the file; else its check state
};

namespace settings_file {

inline constexpr const char* kOptionsSection = "KeyState";
inline constexpr std::array<const char*, 4> kExportedRuleSections = {"Hotkey", "KeyChange",
                                                                     "TapHold", "MouseMap2"};

inline constexpr std::array<SettingsFileKey, 20> kKeys = {{
    {"LockMonitor", 1062, "Lock_Monitor", 0, false},
    {"LockWorkStation", 1067, "LockWorkStation", 0, false},
    {"InactiveMouse", 1066, "InactiveMouse", 0, false},
    {"ShiftSpace", 1007, "Lock_ShiftSpace", 0, false},
    {"CtrlSpace", 1009, "Lock_CtrlSpace", 0, false},
    {"CapsLock", 1003, "Lock_CapsLock", 0, false},
    {"Insert", 1004, "Lock_Insert", 0, false},
    {"Win", 1006, "Lock_Win", 0, false},
    {"NumLock", 1005, "Lock_NumLock", 0, false},
    {"RCtrl", 1011, "Lock_UseRCtrl", 0, false},
    {"Hotkey", 1017, "Key_NoteBookMode", 0, false},
    {"MiddleMouse", 1029, "Key_MouseMiddleButton", 0, false},
    {"ShiftMemory", 1023, "EnableShiftMemory", 0, false},
    {"AltWheel", 1063, "EnableAltWheel", 0, false},
    {"ShiftWheel", 1021, "EnableShiftWheel", 0, false},
    {"RButtonWheel", 1064, "RButtonWheel", 0, false},
    {"LButtonWheel", 1068, "LButtonWheel", 0, false},
    {"ShiftWheelDelta", 1022, "ShiftWheelDelta", 5, true},
    {"CtrlWheel", 1060, "EnableCtrlWheel", 0, false},
    {"CtrlWheelUnit", 1026, "CtrlWheelUnit", 5000, true},
}};

}  // namespace settings_file
