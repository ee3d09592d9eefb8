// The hooks check: the library's hooks removed from outside come back at the watchdog's first
// tick that finds them gone, and there is never a second one; none comes back while paused.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/win32/CheckInput.h"
#include "tests/e2e/win32/LibraryCheckKeys.h"
#include "tests/e2e/win32/LibraryCheckRemovals.h"
#include "tests/e2e/win32/LibraryCheckReport.h"
#include "tests/e2e/win32/LibraryCheckRuleFiles.h"
#include "tests/e2e/win32/LibraryCheckWatches.h"
#include "tests/e2e/win32/LibraryChecks.h"

int CheckHooks() {
  const std::string folder = RuleFolder();
  const std::string rules = folder + "\\config.ini";
  BoundLibrary library;
  if (!Start(library, rules, false)) return 1;
  Check(!CapsLockPasses(), "the library swallows Caps Lock");
  Check(g_libraryHooks.size() == 2, "the library installed two hooks");

  // Removed from outside, as Windows removes a hook whose call took too long. Caps Lock is
  // pressed meanwhile; each press reaches the system until the library says the hooks are back.
  const Removal removal = NoteRemoval();
  for (HHOOK hook : g_libraryHooks) g_realUnhook(hook);
  g_libraryHooksInPlace -= 2;
  PassRemovalTick(removal);
  Check(CapsLockPasses(), "with the hooks removed, Caps Lock reaches the system");
  int presses = 0;
  int passed = 0;
  const bool back = BackByDueTick(removal, GetTickCount(), [&] {
    ++presses;
    passed += CapsLockPasses() ? 1 : 0;
  });
  Check(back,
        "the library says the hooks are back by the watchdog's first tick that finds them "
        "gone");
  std::printf("     (%d of %d presses meanwhile reached the system)\n", passed, presses);
  Check(passed == presses, "until then every Caps Lock pressed reached the system");
  Check(!CapsLockPasses(), "then the library swallows Caps Lock again");
  Check(g_libraryHooksInPlace == 2, "exactly two hooks of the library are in place");

  // Paused: nothing is expected of the hooks, and none is installed, also by the tick that
  // would have put running hooks back.
  library.EnableHookStatue(0);
  const std::size_t installed = g_libraryHooks.size();
  const Removal paused = NoteRemoval();
  RemoveLibraryHooks(2);
  PassRemovalTick(paused);
  CapsLockPasses();
  const DWORD missedAt = GetTickCount();
  PumpUntil([&] { return DueTick(paused, missedAt) != 0; }, 10000);
  Check(DueTick(paused, missedAt) != 0 && g_libraryHooks.size() == installed,
        "while paused, no hook is installed");
  library.EnableHookStatue(1);
  library.StopHook();
  library.EnableHookStatue(0);
  RemoveDirectoryA(folder.c_str());
  return g_failures == 0 ? 0 : 1;
}
