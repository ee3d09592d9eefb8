// The scenario's clock for the library's hook thread. On the simulated desktop time passes only
// in a script's "wait": the watchdog's timer fires there, by that clock, and the hooks' silence
// and the last input are measured by it. Here the library's imports of GetTickCount,
// GetLastInputInfo, SetTimer and KillTimer answer the same on the hook thread, so a slow or
// loaded machine cannot move a reinstallation of the hooks to another line of the trace. Its
// other threads (the rule file's watcher) keep the real clock.
#pragma once

#include <windows.h>

// Redirects those imports of the library; false when it does not import one of them.
bool UseScriptClock(HMODULE library);
// Input goes to the system now (the driver's or the library's): what GetLastInputInfo says.
void StampInput();
// The script's clock has run `elapsedMs` into a wait: the library's timers due by then fire, in
// their order, each with the clock at its due time.
void RunScriptTimers(ULONGLONG elapsedMs);
// The milliseconds from now to the next timer due within the wait, at most `limitMs`.
ULONGLONG MsToNextScriptTimer(ULONGLONG elapsedMs, ULONGLONG limitMs);
// The wait has ended: the clock stands at its end.
void EndScriptWait();
