#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/Services.h"

// Window-event hooks for EVENT_SYSTEM_FOREGROUND (and a restore from the taskbar), out of context:
// Windows tells this thread through its message loop, which needs no code in the other process and
// still arrives while the window in front keeps the low-level hooks from any input. Each change
// posts a message to the window; the hook is removed when the watch goes.
std::unique_ptr<Watch> WatchForegroundFor(HWND window, UINT message);
