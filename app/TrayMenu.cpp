#include "app/TrayMenu.h"

namespace tray_menu {

std::vector<PopupMenuItem> Items(bool userPaused, bool exitPossible) {
  return {
      {kOpen, kOpenText, true, true},
      {kPauseOrResume, userPaused ? kResumeText : kPauseText, true, false},
      {0, "", true, false},
      {kExit, kExitText, exitPossible, false},
  };
}

}  // namespace tray_menu
