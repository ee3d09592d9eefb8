// The rules checks: changes of the rule file by every way of writing it, with and without the
// folder's change signals, and through a symbolic link.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/win32/CheckInput.h"
#include "tests/e2e/win32/LibraryCheckKeys.h"
#include "tests/e2e/win32/LibraryCheckReport.h"
#include "tests/e2e/win32/LibraryCheckRuleFiles.h"
#include "tests/e2e/win32/LibraryCheckWatches.h"
#include "tests/e2e/win32/LibraryChecks.h"

namespace {

// Writes the file anew with A remapped to `remap`, keeping the size and putting `stamp` back,
// and waits until the folder signalled the write and the library's own watching thread counted
// it. Then the watcher, woken by that change, must have it read at once: A is pressed until it
// gives `expected` (at most 20 times, 50 ms apart, so that a late one still shows how late);
// how many presses that took.
bool RewriteKeepingStamp(const std::string& folder, const std::string& file, const char* remap,
                         const FILETIME& stamp, WORD expected, int& presses) {
  const HANDLE ours =
      FindFirstChangeNotificationA(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
  const LONG countedBefore = g_changesCounted;
  WriteFileBytes(file, RemapA(remap));
  SetWriteTime(file, stamp);
  Check(WaitForSingleObject(ours, 5000) == WAIT_OBJECT_0, "the folder signals the write");
  FindCloseChangeNotification(ours);
  Check(PumpUntil([&] { return g_changesCounted != countedBefore; }, 5000),
        "the library's thread counts the folder's change");
  presses = 1;
  bool applied = APresses(expected);
  for (; !applied && presses < 20; ++presses) {
    Pump(50);
    applied = APresses(expected);
  }
  return applied;
}

}  // namespace

int CheckRules(const char* self) {
  const std::string folder = RuleFolder();
  const std::string rules = folder + "\\config.ini";
  WriteFileBytes(rules, RemapA("42/30"));
  SetWriteTime(rules, AnHourAgo());
  BoundLibrary library;
  if (!Start(library, rules, false)) return 1;
  Check(AppliesSoon('B'), "the rule file is read before the first keys");

  // Another process writes the file.
  const std::string command =
      std::string("\"") + self + "\" write \"" + rules + "\" KeyChange 41/1e 43/2e";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  Check(AppliesSoon('C'), "a rule written by another process applies");

  // Replaced by rename, as editors and our own portable engine write.
  const std::string fresh = folder + "\\config.ini.new";
  WriteFileBytes(fresh, RemapA("44/20"));
  // The library's watcher may have the file open for a moment: tried again, as savers do.
  for (int tries = 0; tries < 200; ++tries) {
    if (MoveFileExA(fresh.c_str(), rules.c_str(), MOVEFILE_REPLACE_EXISTING)) break;
    Sleep(10);
  }
  Check(AppliesSoon('D'), "a file replaced by rename applies");

  // Two writes within the time stamp's resolution that keep the size: the same stamp, in the
  // past, on both. Only the folder's change signal tells them apart.
  const FILETIME stamp = AnHourAgo();
  WriteFileBytes(rules, RemapA("45/12"));
  SetWriteTime(rules, stamp);
  Check(AppliesSoon('E'), "the first of two writes applies");
  int presses = 0;
  const bool applied = RewriteKeepingStamp(folder, rules, "46/21", stamp, 'F', presses);
  std::printf("     (at key press %d after the library counted the folder's change)\n", presses);
  Check(applied && presses < 20,
        "a second write with the same size and time stamp applies once signalled");

  // Saved as "Unicode" by an editor.
  const std::wstring wide = L"\xFEFF[KeyChange]\r\n41/1e=47/22\r\n";
  WriteFileBytes(rules, std::string(reinterpret_cast<const char*>(wide.data()),
                                    wide.size() * sizeof(wchar_t)));
  Check(AppliesSoon('G'), "a rule file saved as UTF-16 applies");

  library.StopHook();
  library.EnableHookStatue(0);
  DeleteFileA(rules.c_str());
  RemoveDirectoryA(folder.c_str());
  return g_failures == 0 ? 0 : 1;
}

int CheckLostSignals() {
  const std::string folder = RuleFolder();
  const std::string rules = folder + "\\config.ini";
  WriteFileBytes(rules, RemapA("42/30"));
  SetWriteTime(rules, AnHourAgo());
  BoundLibrary library;
  if (!Start(library, rules, true)) return 1;
  Check(AppliesSoon('B'), "without change signals, the rule file is read");
  WriteFileBytes(rules, RemapA("43/2e"));  // the same size, another stamp
  SetWriteTime(rules, AnHourAgo(60));
  Check(AppliesSoon('C'), "without change signals, a new time stamp gives the change away");
  WriteFileBytes(rules, RemapA("44/20 "));  // the same stamp, another size
  SetWriteTime(rules, AnHourAgo(60));
  Check(AppliesSoon('D'), "without change signals, a new size gives the change away");
  WriteFileBytes(rules, RemapA("45/12"));  // written just now: read again at every event
  Check(AppliesSoon('E'), "without change signals, a file written just now is read again");
  library.StopHook();
  library.EnableHookStatue(0);
  DeleteFileA(rules.c_str());
  RemoveDirectoryA(folder.c_str());
  return g_failures == 0 ? 0 : 1;
}

// The rule file is a symbolic link (made by run-library-check) into another folder: an edit
// of the target that keeps its size and time stamp applies once the target's folder signals it.
int CheckLink(const char* link, const char* target) {
  const FILETIME stamp = AnHourAgo();
  WriteFileBytes(target, RemapA("42/30"));
  SetWriteTime(target, stamp);
  BoundLibrary library;
  if (!Start(library, link, false)) return 1;
  Check(AppliesSoon('B'), "a rule file that is a symbolic link is read");
  std::string folder(target);
  folder.resize(folder.find_last_of('\\'));
  int presses = 0;
  const bool applied = RewriteKeepingStamp(folder, target, "43/2e", stamp, 'C', presses);
  std::printf("     (at key press %d after the library counted the folder's change)\n", presses);
  Check(applied && presses < 20,
        "an edit of the link's target that keeps size and time stamp applies once signalled");
  library.StopHook();
  library.EnableHookStatue(0);
  return g_failures == 0 ? 0 : 1;
}
