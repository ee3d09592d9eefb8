// The library's imports the driver watches: what Wine cannot show directly (program starts, the
// screen saver switch, rule file writes, the monitor-off broadcast, session registrations).
#pragma once

#include <windows.h>

#include <string>

// The thread that runs the hooks (the driver's main thread): what the library does there is
// traced at once, what its workers do in its place among the device tool's effects.
extern DWORD g_hookThread;

// The version of the rule file the library's watcher last looked at (read or found unreadable),
// as its line ends: "SIZE bytes, written STAMP" or "none". From the watcher's thread.
struct SeenRules {
  CRITICAL_SECTION lock;
  std::string version;
  SeenRules() { InitializeCriticalSection(&lock); }
};
extern SeenRules g_seenRules;

// Sends the windows that asked for session notifications WM_WTSSESSION_CHANGE with `change`.
void TellSessionWindows(WPARAM change);

// Points the library's imports at the driver's watches; false, with the reason on standard
// error, when the library does not import one of them.
bool WatchLibraryImports(HMODULE library);
