// The owner check: a Tastron killed without StopHook leaves the state to the next, and a second
// Tastron's calls change nothing of the first one's.
#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/e2e/win32/LibraryCheckKeys.h"
#include "tests/e2e/win32/LibraryCheckReport.h"
#include "tests/e2e/win32/LibraryCheckRuleFiles.h"
#include "tests/e2e/win32/LibraryCheckWatches.h"
#include "tests/e2e/win32/LibraryChecks.h"
#include "tests/e2e/win32/RunSelf.h"

// A Tastron that starts the hooks and is killed: no StopHook, no unloading.
int KilledOwner(const char* rules) {
  BoundLibrary library;
  if (!Start(library, rules, false)) return 1;
  TerminateProcess(GetCurrentProcess(), 7);
  return 1;
}

// A second Tastron run beside the first: what it calls at its start and at its end. Exit code
// 0 when StartHook and StopHook both answered 0.
int Intruder() {
  BoundLibrary library;
  if (!library.Load("library-check")) return 3;
  HookSettings nothing{};
  library.SetConfigINI("C:\\nowhere\\config.ini");
  library.SetDevconPath("C:\\nowhere\\tool.exe");
  library.UpdateValue(&nothing);
  const std::int32_t started = library.StartHook(0x1234);
  library.EnableHookStatue(0);
  const std::int32_t stopped = library.StopHook();
  return started == 0 && stopped == 0 ? 0 : 1;
}

int CheckOwner(const char* self) {
  const std::string folder = RuleFolder();
  const std::string rules = folder + "\\config.ini";
  WriteFileBytes(rules, RemapA("42/30"));
  SetWriteTime(rules, AnHourAgo());
  Check(RunSelf(self, "killed-owner \"" + rules + "\"") == 7,
        "a first Tastron started the hooks and was killed");
  BoundLibrary library;
  if (!Start(library, rules, false)) return 1;
  Check(g_libraryHooks.size() == 2, "a new Tastron takes over the state of the killed one");
  Check(AppliesSoon('B'), "its rules apply");
  Check(RunSelf(self, "intruder") == 0, "a second Tastron's StartHook and StopHook answer 0");
  Check(APresses('B'),
        "after the second Tastron's calls the first one's hooks, rules and "
        "settings are in force");
  bool said = false;
  for (const std::string& line : g_debugLines) {
    said = said || line.find("ignored: the hooks belong to process") != std::string::npos;
  }
  Check(!said, "the first Tastron's own calls were never refused");
  library.StopHook();
  library.EnableHookStatue(0);
  DeleteFileA(rules.c_str());
  RemoveDirectoryA(folder.c_str());
  return g_failures == 0 ? 0 : 1;
}
