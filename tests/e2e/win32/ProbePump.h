// The probe's own thread handles its messages while it waits for what it looks for.
#pragma once

#include <windows.h>

// Waits, handling this thread's messages, until `done` holds or `waitMs` has passed.
template <typename Condition>
bool PumpUntil(Condition done, int waitMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(waitMs);
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}
