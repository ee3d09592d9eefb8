#include "hook/win32/SessionNotifications.h"

#include <wtsapi32.h>

namespace {

constexpr char kClassName[] = "TrellinSessionNotifications";

}  // namespace

// A message-only window: it gets what is sent to it alone, never the broadcasts meant for
// top-level windows (the library's own monitor-off broadcast among them).
void SessionNotifications::Start() {
  if (window_ == nullptr) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &SessionNotifications::Procedure;
    windowClass.hInstance = module_;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly when this module registered it already
    window_ =
        CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module_, nullptr);
    if (window_ == nullptr) return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  if (!registered_) {
    registered_ = WTSRegisterSessionNotification(window_, NOTIFY_FOR_THIS_SESSION) != FALSE;
  }
}

// Every registration is undone before its window goes, as the session manager asks.
void SessionNotifications::Stop() {
  if (window_ == nullptr) return;
  if (registered_) WTSUnRegisterSessionNotification(window_);
  registered_ = false;
  DestroyWindow(window_);
  window_ = nullptr;
  UnregisterClassA(kClassName, module_);
}

LRESULT CALLBACK SessionNotifications::Procedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
  if (message == WM_WTSSESSION_CHANGE &&
      (wParam == WTS_SESSION_LOCK || wParam == WTS_SESSION_UNLOCK)) {
    auto* self = reinterpret_cast<SessionNotifications*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr) self->handler_(wParam == WTS_SESSION_LOCK);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
