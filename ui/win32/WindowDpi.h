#pragma once

#include <windows.h>

// DPI of a window and sizes at that DPI. The per-monitor functions came with Windows 10 1607;
// on older Windows (and where a window has no DPI of its own) the screen's DPI stands in, which
// is the one the system-aware program draws at.
inline constexpr UINT kDefaultDpi = 96;

UINT DpiOfWindow(HWND window);
// GetSystemMetrics at that DPI (small and large icon sizes, check boxes, ...).
int SystemMetricAt(int index, UINT dpi);
// A length given for 96 DPI, at that DPI.
int ScaledForDpi(int length, UINT dpi);
// The DPI the notification area draws its icons at: that of the taskbar's window.
UINT TaskbarDpi();
