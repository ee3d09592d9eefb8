// Keys pressed through the library, and what of them reached the system.
#pragma once

#include <windows.h>

#include <vector>

// This program's own hook, installed after the library's: it notes the keys that went down for
// the system.
LRESULT CALLBACK SeenKeyboard(int code, WPARAM message, LPARAM data);

// Handles this thread's messages for `milliseconds`.
void Pump(DWORD milliseconds);

// Presses and releases the key; the virtual keys that went down for the system.
std::vector<DWORD> Press(WORD virtualKey, WORD scanCode);
// Whether A gives `target` alone.
bool APresses(WORD target);
// Whether A gives `target` within 5 s.
bool AppliesSoon(WORD target);
// Whether a Caps Lock press reached the system.
bool CapsLockPasses();
