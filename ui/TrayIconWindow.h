#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An icon handle as the program keeps it (an HICON on Windows).
using IconHandle = std::uintptr_t;

// A notification-area icon with its own hidden window, a child of the main window. Activating
// the icon (a click or a double click with the left button) sends the activation message to the
// main window; asking for its menu (a click with the right button, or the menu key while the
// icon has the keyboard focus) sends the menu message.
class TrayIconWindow {
 public:
  virtual ~TrayIconWindow() = default;
  // Adds the icon to the notification area, or changes it there when it is shown already.
  virtual bool Show(IconHandle icon, const std::string& tooltip) = 0;
  virtual void Hide() = 0;
  virtual bool IsShown() const = 0;
  // Shows the icons in turn, one each period, while the icon is shown; fewer than two stop it.
  virtual void Animate(const std::vector<IconHandle>& icons, unsigned periodMs) = 0;
};
