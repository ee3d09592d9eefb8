// library-check.exe: the real trellin_192.dll under Wine, on what scenarios cannot say.
//   library-check rules          a rule written by another process, a file replaced by rename,
//                                a write that keeps size and time stamp, a UTF-16 file: each
//                                applies at the next key event (the last one as soon as the
//                                folder's change is signalled)
//   library-check lost-signals   the library's change notification never fires: size and time
//                                stamp still give every change away
//   library-check hooks          the library's hooks removed from outside come back at the
//                                watchdog's first tick that finds them gone, and there is never
//                                a second one
//   library-check owner          a Tastron killed without StopHook leaves the state to the next;
//                                a second one's calls change nothing of the first one's
//   library-check unwatched      no change notifications, a time stamp in the future: changes
//                                apply, and keys do not read the whole file again for ever
//   library-check link LINK TARGET   LINK, a symbolic link to TARGET in another folder, is the
//                                rule file: an edit of TARGET alone applies
//   library-check watchdog       a removed keyboard hook is noticed while the mouse moves; what
//                                the library held for a key released meanwhile is let go of;
//                                input the hooks are never given makes it back off
//   library-check write FILE SECTION KEY VALUE   (used by "rules" as the other process)
//   library-check killed-owner FILE, intruder    (used by "owner" as the other processes)
// Prints one line per check; exit status 0 when all passed.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "tests/e2e/win32/LibraryChecks.h"

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "write") == 0) {
    return WritePrivateProfileStringA(argv[3], argv[4], argv[5], argv[2]) ? 0 : 1;
  }
  if (argc == 2 && std::strcmp(argv[1], "rules") == 0) return CheckRules(argv[0]);
  if (argc == 2 && std::strcmp(argv[1], "lost-signals") == 0) return CheckLostSignals();
  if (argc == 2 && std::strcmp(argv[1], "hooks") == 0) return CheckHooks();
  if (argc == 2 && std::strcmp(argv[1], "owner") == 0) return CheckOwner(argv[0]);
  if (argc == 3 && std::strcmp(argv[1], "killed-owner") == 0) return KilledOwner(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], "intruder") == 0) return Intruder();
  if (argc == 2 && std::strcmp(argv[1], "unwatched") == 0) return CheckUnwatched();
  if (argc == 4 && std::strcmp(argv[1], "link") == 0) return CheckLink(argv[2], argv[3]);
  if (argc == 2 && std::strcmp(argv[1], "watchdog") == 0) return CheckWatchdog();
  std::fprintf(stderr,
               "usage: library-check rules|lost-signals|hooks|watchdog|owner|unwatched|link\n");
  return 2;
}
