#pragma once

#include <windows.h>

// The session's lock and unlock (WM_WTSSESSION_CHANGE), told to a window of the library's own
// on the thread that creates it: the hooks' thread, whose message loop the host runs anyway.
class SessionNotifications {
 public:
  using Handler = void (*)(bool locked);
  SessionNotifications(HINSTANCE module, Handler handler) : module_(module), handler_(handler) {}

  // Creates the window and asks for the notifications; called again while asking failed (at
  // logon the session services may not be running yet), it asks again.
  void Start();
  void Stop();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE module_;
  Handler handler_;
  HWND window_ = nullptr;
  bool registered_ = false;
};
