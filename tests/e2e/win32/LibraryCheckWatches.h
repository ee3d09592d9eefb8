// trellin_192.dll loaded with the imports the checks watch or take over, and started as Tastron
// starts it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "tests/e2e/win32/BoundLibrary.h"

// The library's imports that the checks watch or take over.
extern decltype(&SetWindowsHookExA) g_realSetHook;
extern decltype(&UnhookWindowsHookEx) g_realUnhook;
extern std::vector<HHOOK> g_libraryHooks;
extern int g_libraryHooksInPlace;
extern std::vector<std::string> g_debugLines;
// The watchdog's ticks (when each began), and for each "installed again" line the tick it came
// in (1 for the first tick).
extern std::vector<DWORD> g_tickTimes;
extern std::vector<std::size_t> g_reinstallTicks;
// How often the library's thread re-armed its change notification: it counts a change first.
extern volatile LONG g_changesCounted;

// Loads the library and points its imports at the watches (its change notifications at ones
// that never fire when `silentNotifications`); false when one is missing.
bool Load(BoundLibrary& library, bool silentNotifications);

// A host window, this program's own hook after the library's, the library started with key
// remapping and the Caps Lock lock on.
bool Start(BoundLibrary& library, const std::string& rules, bool silentNotifications);
