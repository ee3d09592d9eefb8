// The unwatched check: without change notifications and with a time stamp in the future, changes
// still apply and keys do not read the whole file again for ever.
#include <windows.h>

#include <string>

#include "hook/RuleCache.h"
#include "tests/e2e/win32/CheckInput.h"
#include "tests/e2e/win32/ImportTablePatch.h"
#include "tests/e2e/win32/LibraryCheckKeys.h"
#include "tests/e2e/win32/LibraryCheckReport.h"
#include "tests/e2e/win32/LibraryCheckRuleFiles.h"
#include "tests/e2e/win32/LibraryCheckWatches.h"
#include "tests/e2e/win32/LibraryChecks.h"

namespace {

// Opens of the rule file by the library (on any of its threads).
std::string g_watchedFile;
volatile LONG g_ruleFileOpens = 0;
decltype(&CreateFileA) g_realCreateFile = nullptr;

HANDLE WINAPI CountingCreateFile(LPCSTR name, DWORD access, DWORD share,
                                 LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                 HANDLE model) {
  if (name != nullptr && lstrcmpiA(name, g_watchedFile.c_str()) == 0) {
    InterlockedIncrement(&g_ruleFileOpens);
  }
  return g_realCreateFile(name, access, share, security, disposition, flags, model);
}
HANDLE WINAPI FailingNotification(LPCSTR, BOOL, DWORD) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

// A share without change notifications, and a time stamp in the future: neither may make every
// key read the whole file again.
int CheckUnwatched() {
  const std::string folder = RuleFolder();
  const std::string rules = folder + "\\config.ini";
  g_watchedFile = rules;
  WriteFileBytes(rules, RemapA("42/30"));
  SetWriteTime(rules, AnHourAgo());
  BoundLibrary library;
  if (!library.Load("library-check") ||
      !PatchImport(library.module, "kernel32.dll", "FindFirstChangeNotificationA",
                   reinterpret_cast<void*>(&FailingNotification))) {
    std::printf("FAIL cannot load and patch trellin_192.dll\n");
    return 1;
  }
  g_realCreateFile = reinterpret_cast<decltype(g_realCreateFile)>(PatchImport(
      library.module, "kernel32.dll", "CreateFileA", reinterpret_cast<void*>(&CountingCreateFile)));
  if (g_realCreateFile == nullptr || !Start(library, rules, false)) return 1;
  Check(AppliesSoon('B'), "without change notifications, the rule file is read");
  LONG before = g_ruleFileOpens;
  for (int i = 0; i < 30; ++i) APresses('B');
  Check(g_ruleFileOpens == before, "without change notifications, 30 keys read the file no more");
  WriteFileBytes(rules, RemapA("43/2e"));
  Check(AppliesSoon('C'), "without change notifications, a new time stamp gives the change away");

  FILETIME future{};
  GetSystemTimeAsFileTime(&future);
  ULARGE_INTEGER ahead{{future.dwLowDateTime, future.dwHighDateTime}};
  ahead.QuadPart += 3600ull * 10'000'000;  // an hour ahead of the clock
  future = {ahead.LowPart, ahead.HighPart};
  WriteFileBytes(rules, RemapA("44/20"));
  SetWriteTime(rules, future);
  // The library's watcher sees the stamp first between these two moments; for
  // kRecentWriteRereadMs after that it reads the file again at each round (one a second).
  const DWORD sawFrom = GetTickCount();
  Check(AppliesSoon('D'), "a time stamp in the future gives the change away");
  const DWORD sawBy = GetTickCount();
  const auto reached = [](DWORD moment) { return static_cast<LONG>(GetTickCount() - moment) >= 0; };
  before = g_ruleFileOpens;
  Pump(1500);
  if (!reached(sawFrom + RuleCache::kRecentWriteRereadMs)) {
    Check(g_ruleFileOpens != before,
          "a time stamp in the future is read again while a second write could share it");
  }
  PumpUntil([&] { return reached(sawBy + RuleCache::kRecentWriteRereadMs + 1000); }, 10000);
  before = g_ruleFileOpens;
  for (int i = 0; i < 5; ++i) APresses('D');
  Pump(2500);
  Check(g_ruleFileOpens == before,
        "a time stamp in the future is not read again once that window has passed");
  library.StopHook();
  library.EnableHookStatue(0);
  DeleteFileA(rules.c_str());
  RemoveDirectoryA(folder.c_str());
  return g_failures == 0 ? 0 : 1;
}
