// The checks library-check runs, each an exit code (0: all passed), and the other processes
// some of them play.
#pragma once

// A rule written by another process (`self` run again), a file replaced by rename, a write that
// keeps size and time stamp, a UTF-16 file.
int CheckRules(const char* self);
// The library's change notification never fires.
int CheckLostSignals();
// The rule file is a symbolic link to a file in another folder.
int CheckLink(const char* link, const char* target);
// No change notifications, a time stamp in the future.
int CheckUnwatched();
// The library's hooks removed from outside.
int CheckHooks();
// The watchdog: a removed keyboard hook while the mouse moves, input the hooks are never given.
int CheckWatchdog();
// A Tastron killed without StopHook, and a second one beside the first.
int CheckOwner(const char* self);
int KilledOwner(const char* rules);
int Intruder();
