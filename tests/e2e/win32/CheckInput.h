#pragma once

#include <windows.h>

#include <functional>

// What the library checks do with input and this thread's messages: the hooks of this thread
// are called while it handles its messages.

inline void SendKey(WORD virtualKey, WORD scanCode, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = scanCode;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

// A press and its release of the key, in one call.
inline void SendKeyTap(WORD virtualKey, WORD scanCode) {
  INPUT input[2] = {};
  for (INPUT& event : input) {
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = virtualKey;
    event.ki.wScan = scanCode;
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

// Handles the messages there are, then waits up to 10 ms for more.
inline void PumpOnce() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
}

// Waits, handling messages, until `done` holds or `milliseconds` have passed; whether it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= milliseconds) return false;
    PumpOnce();
  }
  return true;
}
