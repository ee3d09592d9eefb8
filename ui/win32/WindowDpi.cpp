#include "ui/win32/WindowDpi.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

template <typename Function>
Function User32Function(const char* name) {
  static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 != nullptr
             ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
             : nullptr;
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

UINT DpiOfWindow(HWND window) {
  static const auto forWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (forWindow != nullptr && window != nullptr) {
    const UINT dpi = forWindow(window);
    if (dpi != 0) return dpi;
  }
  return ScreenDpi();
}

int SystemMetricAt(int index, UINT dpi) {
  static const auto forDpi =
      User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (forDpi != nullptr) return forDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

int ScaledForDpi(int length, UINT dpi) {
  return MulDiv(length, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

UINT TaskbarDpi() {
  return DpiOfWindow(FindWindowW(L"Shell_TrayWnd", nullptr));
}
