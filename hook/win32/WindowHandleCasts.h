#pragma once

#include <windows.h>

#include "hook/HookState.h"

// The engine's window handles are the system's, carried as integers.
inline HWND ToWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
inline WindowHandle FromWindow(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}
