#include "ui/win32/Win32TrayIconWindow.h"

#include <shellapi.h>

#include <cwchar>

#include "ui/win32/TextConversion.h"

namespace {

constexpr UINT kIconCallback = WM_APP + 1;
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kIconId = 1;
constexpr const wchar_t* kClassName = L"TastronTrayIcon";

}  // namespace

Win32TrayIconWindow::Win32TrayIconWindow(HWND owner, UINT activateMessage, UINT menuMessage)
    : owner_(owner), activateMessage_(activateMessage), menuMessage_(menuMessage) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &Win32TrayIconWindow::Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);  // fails harmlessly when the class exists
  window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD, 0, 0, 0, 0, owner,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), instance, nullptr);
  if (window_ != nullptr)
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32TrayIconWindow::~Win32TrayIconWindow() {
  Hide();
  if (window_ != nullptr) DestroyWindow(window_);
}

bool Win32TrayIconWindow::Notify(DWORD action) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kIconId;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = kIconCallback;
  data.hIcon = icon_;
  wcsncpy(data.szTip, tooltip_.c_str(), sizeof data.szTip / sizeof data.szTip[0] - 1);
  return Shell_NotifyIconW(action, &data) != FALSE;
}

bool Win32TrayIconWindow::Show(IconHandle icon, const std::string& tooltip) {
  if (window_ == nullptr) return false;
  icon_ = reinterpret_cast<HICON>(icon);
  tooltip_ = Utf8ToWide(tooltip);
  // A shell that restarted has forgotten the icon: adding it again is the remedy.
  if (shown_ && Notify(NIM_MODIFY)) return true;
  shown_ = Notify(NIM_ADD);
  return shown_;
}

void Win32TrayIconWindow::Hide() {
  if (shown_) Notify(NIM_DELETE);
  shown_ = false;
}

void Win32TrayIconWindow::Animate(const std::vector<IconHandle>& icons, unsigned periodMs) {
  animation_ = icons;
  frame_ = 0;
  if (window_ == nullptr) return;
  if (animation_.size() >= 2) {
    SetTimer(window_, kAnimationTimer, periodMs, nullptr);
  } else {
    KillTimer(window_, kAnimationTimer);
  }
}

LRESULT CALLBACK Win32TrayIconWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  auto* self = reinterpret_cast<Win32TrayIconWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    if (message == kIconCallback && (lParam == WM_LBUTTONUP || lParam == WM_LBUTTONDBLCLK)) {
      SendMessageW(self->owner_, self->activateMessage_, 0, 0);
      return 0;
    }
    // The shell reports a right click as its button's release; the menu key on a focused icon
    // as WM_CONTEXTMENU.
    if (message == kIconCallback && (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU)) {
      SendMessageW(self->owner_, self->menuMessage_, 0, 0);
      return 0;
    }
    if (message == WM_TIMER && wParam == kAnimationTimer && !self->animation_.empty()) {
      self->frame_ = (self->frame_ + 1) % self->animation_.size();
      self->icon_ = reinterpret_cast<HICON>(self->animation_[self->frame_]);
      if (self->shown_) self->Notify(NIM_MODIFY);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
