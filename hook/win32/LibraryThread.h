#pragma once

#include <windows.h>

// A thread of the library holds a reference to it while it runs, so that the library cannot be
// unloaded under it; the thread lets go of it as it ends.
HMODULE HoldLibraryForThread();
// Starts `main` on such a thread; false (and nothing held) when it could not be started.
bool StartLibraryThread(LPTHREAD_START_ROUTINE main, void* parameter);
[[noreturn]] void ReleaseLibraryAndExitThread(DWORD exitCode);
