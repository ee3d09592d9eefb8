// Input outside the script's lines: what is left down from before, and the events the script
// says arrive while the library injects.
#pragma once

#include <windows.h>

#include <vector>

// Every scenario starts with nothing down: the key state of a Wine desktop outlives the
// programs that used it.
void ReleaseEverything();

// Events the scenario says arrive while the library injects: they are played at the library's
// next injection call, before the injected event.
extern std::vector<INPUT> g_duringInjection;
void PlayDuringInjection();

// The library's injection calls, where the held events arrive.
extern decltype(&keybd_event) g_realKeyEvent;
extern decltype(&mouse_event) g_realMouseEvent;
void WINAPI WatchKeyEvent(BYTE key, BYTE scan, DWORD flags, ULONG_PTR extra);
void WINAPI WatchMouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra);
