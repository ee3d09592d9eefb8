#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/TrayIconWindow.h"

// The notification-area icon on Shell_NotifyIconW, with a hidden child window of the main
// window that receives the icon's mouse messages (version 0 callbacks: the mouse message in
// lParam) and the animation timer.
class Win32TrayIconWindow final : public TrayIconWindow {
 public:
  Win32TrayIconWindow(HWND owner, UINT activateMessage, UINT menuMessage);
  ~Win32TrayIconWindow() override;
  Win32TrayIconWindow(const Win32TrayIconWindow&) = delete;
  Win32TrayIconWindow& operator=(const Win32TrayIconWindow&) = delete;

  bool Created() const { return window_ != nullptr; }
  bool Show(IconHandle icon, const std::string& tooltip) override;
  void Hide() override;
  bool IsShown() const override { return shown_; }
  void Animate(const std::vector<IconHandle>& icons, unsigned periodMs) override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool Notify(DWORD action);

  HWND owner_;
  UINT activateMessage_;
  UINT menuMessage_;
  HWND window_ = nullptr;
  bool shown_ = false;
  HICON icon_ = nullptr;
  std::wstring tooltip_;
  std::vector<IconHandle> animation_;
  std::size_t frame_ = 0;
};
