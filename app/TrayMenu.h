#pragma once

#include <vector>

#include "ui/PopupMenu.h"

// The tray icon's menu: open the window (the default, as a click on the icon does), pause or
// resume Tastron as the pause hotkey does, and exit. Exit is greyed while a window of Tastron's
// own runs modally over the main window: ending under it would pull the window from under that
// dialog's loop.
namespace tray_menu {

inline constexpr int kOpen = 32776;
inline constexpr int kPauseOrResume = 32777;
inline constexpr int kExit = 32778;

inline constexpr const char* kOpenText = "열기(&O)";
inline constexpr const char* kPauseText = "일시 정지(&P)";
inline constexpr const char* kResumeText = "다시 시작(&R)";
inline constexpr const char* kExitText = "종료(&X)";

std::vector<PopupMenuItem> Items(bool userPaused, bool exitPossible);

}  // namespace tray_menu
