#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "ui/TrayIconWindow.h"

// The main window's notification-area icon: icons loaded from .ico files, an animation over
// a list of them, activation delivering 0x8114 to the main window and a request for the
// icon's menu 0x8115.
class CPLTrayIconWnd {
 public:
  static constexpr std::uint32_t kActivateMessage = 0x8114;
  static constexpr std::uint32_t kMenuMessage = 0x8115;

  // Creates the icon's window as a child of the main window; true once it exists.
  bool Create(WindowHandle mainWindow);
  // The icon of an .ico file, 0 when it cannot be loaded.
  IconHandle LoadIconA(const std::string& file);
  void SetAnimate(const std::vector<IconHandle>& icons, unsigned periodMs);
  // Shows icon number `index` of the animation list with the tooltip.
  bool ShowIcon(int index, const std::string& tooltip);
  void HideIcon();
  bool IsIconShown() const { return window_ != nullptr && window_->IsShown(); }

 private:
  std::unique_ptr<TrayIconWindow> window_;
  std::vector<IconHandle> icons_;
  unsigned periodMs_ = 0;
};
