// The driver's hooks: its view of what passed the library, and the gate that keeps events from
// the library's hooks while the script has them removed or the session locked.
#pragma once

#include <windows.h>

// The driver's own hooks, installed before the library's so that they run after them: whatever
// reaches them has passed the library.
LRESULT CALLBACK SeenKeyboard(int code, WPARAM message, LPARAM data);
LRESULT CALLBACK SeenMouse(int code, WPARAM message, LPARAM data);

// The gate: hooks of the driver's, always first in the chain (installed again after each hook
// the library installs), that keep events from the library's hooks as the script says. A hook
// that returns without calling the next one leaves the event to the system, unseen by the rest:
// so an event reaches the system as if the library had no hook of that kind. A removed hook
// stays out until the library installs one of its kind again; a locked session keeps every
// event from every hook, the driver's own view included (the lock screen has it).
struct Gate {
  bool locked = false;
  bool removed[2] = {false, false};  // keyboard, mouse
  HHOOK hooks[2] = {nullptr, nullptr};
  bool reinstallExpected = false;  // hooks were removed, and the library has not said so since
};
extern Gate g_gate;

// Puts the gate of that kind (0 keyboard, 1 mouse) first in the chain.
void PlaceGate(int kind);

// The library's SetWindowsHookExA: a hook of the library's brings back a removed one of its kind
// and goes behind the gate.
extern decltype(&SetWindowsHookExA) g_realSetHook;
HHOOK WINAPI WatchSetHook(int kind, HOOKPROC procedure, HINSTANCE module, DWORD thread);
