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
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "hook/HookEngine.h"
#include "hook/RuleCache.h"
#include "tests/e2e/win32/BoundLibrary.h"
#include "tests/e2e/win32/CheckInput.h"
#include "tests/e2e/win32/ImportPatch.h"
#include "tests/e2e/win32/RunSelf.h"

namespace {

int g_failures = 0;

void Check(bool passed, const char* what) {
  std::printf("%s %s\n", passed ? "ok  " : "FAIL", what);
  std::fflush(stdout);
  if (!passed) ++g_failures;
}

// What reached the system through the library (this hook runs after the library's).
std::vector<DWORD> g_keysDown;

LRESULT CALLBACK SeenKeyboard(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
    g_keysDown.push_back(reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode);
  }
  return CallNextHookEx(nullptr, code, message, data);
}

void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < milliseconds);
}

// Presses and releases the key; the virtual keys that went down for the system.
std::vector<DWORD> Press(WORD virtualKey, WORD scanCode) {
  g_keysDown.clear();
  INPUT input[2] = {};
  for (INPUT& event : input) {
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = virtualKey;
    event.ki.wScan = scanCode;
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  return g_keysDown;
}

bool APresses(WORD target) {
  const std::vector<DWORD> down = Press('A', 0x1E);
  return down.size() == 1 && down[0] == target;
}

// The library's watcher reads a changed rule file away from the hook, so a change applies a
// moment later: A is pressed until it gives `target`, for at most 5 s.
bool AppliesSoon(WORD target) {
  const DWORD start = GetTickCount();
  while (!APresses(target)) {
    if (GetTickCount() - start >= 5000) return false;
    Pump(20);
  }
  return true;
}

void WriteFileBytes(const std::string& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

FILETIME AnHourAgo(int extraSeconds = 0) {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER value{{now.dwLowDateTime, now.dwHighDateTime}};
  value.QuadPart -= (3600ull + static_cast<unsigned>(extraSeconds)) * 10'000'000;
  return {value.LowPart, value.HighPart};
}

void SetWriteTime(const std::string& file, const FILETIME& stamp) {
  const HANDLE handle = CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  SetFileTime(handle, nullptr, nullptr, &stamp);
  CloseHandle(handle);
}

// The library's imports that the checks watch or take over.
decltype(&SetWindowsHookExA) g_realSetHook = nullptr;
decltype(&UnhookWindowsHookEx) g_realUnhook = nullptr;
decltype(&SetTimer) g_realSetTimer = nullptr;
decltype(&FindNextChangeNotification) g_realFindNextChange = nullptr;
std::vector<HHOOK> g_libraryHooks;
int g_libraryHooksInPlace = 0;
std::vector<std::string> g_debugLines;
// The watchdog's ticks (when each began), and for each "installed again" line the tick it came
// in (1 for the first tick).
TIMERPROC g_watchdogTick = nullptr;
std::vector<DWORD> g_tickTimes;
std::vector<std::size_t> g_reinstallTicks;
// How often the library's thread re-armed its change notification: it counts a change first.
volatile LONG g_changesCounted = 0;

HHOOK WINAPI WatchSetHook(int kind, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
  const HHOOK hook = g_realSetHook(kind, procedure, module, thread);
  if (hook != nullptr) {
    g_libraryHooks.push_back(hook);
    ++g_libraryHooksInPlace;
  }
  return hook;
}

BOOL WINAPI WatchUnhook(HHOOK hook) {
  const BOOL removed = g_realUnhook(hook);
  if (removed) --g_libraryHooksInPlace;
  return removed;
}

void WINAPI WatchDebugLine(LPCSTR text) {
  if (text == nullptr) return;
  g_debugLines.emplace_back(text);
  if (g_debugLines.back().find("installed again") != std::string::npos) {
    g_reinstallTicks.push_back(g_tickTimes.size());
  }
}

void CALLBACK CountedTick(HWND window, UINT message, UINT_PTR id, DWORD time) {
  g_tickTimes.push_back(GetTickCount());
  g_watchdogTick(window, message, id, time);
}

// The library's one timer is its hooks' watchdog: each tick passes here first.
UINT_PTR WINAPI WatchSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure) {
  g_watchdogTick = procedure;
  return g_realSetTimer(window, id, period, &CountedTick);
}

BOOL WINAPI CountingFindNextChange(HANDLE notification) {
  const BOOL rearmed = g_realFindNextChange(notification);
  InterlockedIncrement(&g_changesCounted);
  return rearmed;
}

// A change notification that never fires.
HANDLE WINAPI SilentNotification(LPCSTR, BOOL, DWORD) {
  return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}
BOOL WINAPI CloseSilentNotification(HANDLE handle) {
  return CloseHandle(handle);
}

bool Load(BoundLibrary& library, bool silentNotifications) {
  if (!library.Load("library-check")) return false;
  g_realSetHook = reinterpret_cast<decltype(g_realSetHook)>(PatchImport(
      library.module, "user32.dll", "SetWindowsHookExA", reinterpret_cast<void*>(&WatchSetHook)));
  g_realUnhook = reinterpret_cast<decltype(g_realUnhook)>(PatchImport(
      library.module, "user32.dll", "UnhookWindowsHookEx", reinterpret_cast<void*>(&WatchUnhook)));
  PatchImport(library.module, "kernel32.dll", "OutputDebugStringA",
              reinterpret_cast<void*>(&WatchDebugLine));
  g_realSetTimer = reinterpret_cast<decltype(g_realSetTimer)>(PatchImport(
      library.module, "user32.dll", "SetTimer", reinterpret_cast<void*>(&WatchSetTimer)));
  g_realFindNextChange = reinterpret_cast<decltype(g_realFindNextChange)>(
      PatchImport(library.module, "kernel32.dll", "FindNextChangeNotification",
                  reinterpret_cast<void*>(&CountingFindNextChange)));
  if (silentNotifications) {
    if (!PatchImport(library.module, "kernel32.dll", "FindFirstChangeNotificationA",
                     reinterpret_cast<void*>(&SilentNotification)) ||
        !PatchImport(library.module, "kernel32.dll", "FindCloseChangeNotification",
                     reinterpret_cast<void*>(&CloseSilentNotification))) {
      return false;
    }
  }
  return g_realSetHook != nullptr && g_realUnhook != nullptr && g_realSetTimer != nullptr &&
         g_realFindNextChange != nullptr;
}

// A host window, this program's own hook after the library's, the library started with key
// remapping and the Caps Lock lock on.
bool Start(BoundLibrary& library, const std::string& rules, bool silentNotifications) {
  if (!Load(library, silentNotifications)) {
    std::printf("FAIL cannot load and watch trellin_192.dll\n");
    return false;
  }
  HWND host = CreateWindowExA(0, "STATIC", "check host", 0, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  SetWindowsHookExA(WH_KEYBOARD_LL, SeenKeyboard, GetModuleHandleA(nullptr), 0);
  HookSettings settings{};
  settings.Key_KeyChange = 1;
  settings.Lock_CapsLock = 1;
  library.SetConfigINI(rules.c_str());
  library.UpdateValue(&settings);
  library.StartHook(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(host)));
  library.EnableHookStatue(1);
  return true;
}

std::string RuleFolder() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string path =
      std::string(folder) + "tastron-check-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

std::string RemapA(const char* target) {
  return std::string("[KeyChange]\r\n41/1e=") + target + "\r\n";
}

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

bool CapsLockPasses() {
  const std::vector<DWORD> down = Press(VK_CAPITAL, 0x3A);
  return !down.empty();
}

void RemoveLibraryHooks(std::size_t count) {
  for (HHOOK hook : std::vector<HHOOK>(g_libraryHooks.end() - static_cast<std::ptrdiff_t>(count),
                                       g_libraryHooks.end())) {
    if (g_realUnhook(hook)) --g_libraryHooksInPlace;
  }
}

// The moment hooks went (their last call came no later), with the watchdog's ticks and the
// library's reinstallations counted so far.
struct Removal {
  DWORD at;
  std::size_t ticks;
  std::size_t reinstalls;
};

Removal NoteRemoval() {
  return {GetTickCount(), g_tickTimes.size(), g_reinstallTicks.size()};
}

// Input that hooks miss tells the library they are gone only when its time is later than their
// last call; the tick count may move in steps of several milliseconds.
void PassRemovalTick(const Removal& removal) {
  PumpUntil([&] { return GetTickCount() != removal.at; }, 1000);
}

// The watchdog's tick (1 for the first after the removal) by which hooks gone at `removal` must
// be back, once input they missed came before `missedAt`: the first tick that finds both that
// input and a quarter second of silence. 0 while that tick has not come.
std::size_t DueTick(const Removal& removal, DWORD missedAt) {
  const DWORD silentEnough = removal.at + kSilentHooksMs;
  const DWORD due = static_cast<LONG>(missedAt - silentEnough) > 0 ? missedAt : silentEnough;
  for (std::size_t tick = removal.ticks; tick < g_tickTimes.size(); ++tick) {
    if (static_cast<LONG>(g_tickTimes[tick] - due) >= 0) return tick + 1 - removal.ticks;
  }
  return 0;
}

// Waits, doing `meanwhile` every 50 ms, until the library says it installed its hooks again or
// their due tick has passed without it (at most 10 s, should the watchdog never tick). Whether
// the hooks were back by that tick, in the library's own words.
bool BackByDueTick(const Removal& removal, DWORD missedAt, const std::function<void()>& meanwhile) {
  const DWORD start = GetTickCount();
  while (g_reinstallTicks.size() == removal.reinstalls && DueTick(removal, missedAt) == 0 &&
         GetTickCount() - start < 10000) {
    meanwhile();
    Pump(50);
  }
  const std::size_t due = DueTick(removal, missedAt);
  if (g_reinstallTicks.size() == removal.reinstalls) {
    // How late they are, for whoever looks into it.
    PumpUntil([&] { return g_reinstallTicks.size() > removal.reinstalls; }, 5000);
    const bool late = g_reinstallTicks.size() > removal.reinstalls;
    std::printf("     (not back by watchdog tick %u; %s %u)\n", static_cast<unsigned>(due),
                late ? "back at tick" : "not back either at tick",
                static_cast<unsigned>(late ? g_reinstallTicks[removal.reinstalls] - removal.ticks
                                           : g_tickTimes.size() - removal.ticks));
    return false;
  }
  const std::size_t back = g_reinstallTicks[removal.reinstalls] - removal.ticks;
  std::printf("     (back at watchdog tick %u after the removal; due by tick %u)\n",
              static_cast<unsigned>(back), static_cast<unsigned>(due));
  return due == 0 || back <= due;
}

// Waits until the watchdog has ticked `count` times more (at most 30 s).
bool PumpTicks(std::size_t count) {
  const std::size_t until = g_tickTimes.size() + count;
  return PumpUntil([&] { return g_tickTimes.size() >= until; }, 30000);
}

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

// Input that no hook is given (the secure desktop, an elevated program's window), as the
// library's GetLastInputInfo reports it while this is set.
bool g_inputElsewhere = false;
decltype(&GetLastInputInfo) g_realLastInput = nullptr;

BOOL WINAPI LastInputElsewhere(PLASTINPUTINFO info) {
  const BOOL answered = g_realLastInput(info);
  if (g_inputElsewhere) info->dwTime = GetTickCount();
  return answered;
}

void NudgeMouse(LONG dx) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

bool KeyDown(int virtualKey) {
  return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

int CheckWatchdog() {
  const std::string folder = RuleFolder();
  const std::string rules = folder + "\\config.ini";
  WriteFileBytes(rules, "[KeyChange]\r\n14/3a=51/10\r\n");  // Caps Lock as Q
  SetWriteTime(rules, AnHourAgo());
  BoundLibrary library;
  if (!Start(library, rules, false)) return 1;
  g_realLastInput = reinterpret_cast<decltype(g_realLastInput)>(
      PatchImport(library.module, "user32.dll", "GetLastInputInfo",
                  reinterpret_cast<void*>(&LastInputElsewhere)));
  Check(g_realLastInput != nullptr && g_libraryHooks.size() == 2, "the library is watched");

  // The keyboard hook alone removed (the first of the two) while the mouse keeps moving and Z
  // is held.
  const Removal keyboardGone = NoteRemoval();
  if (g_realUnhook(g_libraryHooks[g_libraryHooks.size() - 2])) --g_libraryHooksInPlace;
  SendKey('Z', 0x2C, true);
  Check(BackByDueTick(keyboardGone, GetTickCount(), [] { NudgeMouse(1); }),
        "mouse movement does not hide a removed keyboard hook");
  SendKey('Z', 0x2C, false);
  Check(PumpUntil([] { return !KeyDown('Z'); }, 5000), "the key held meanwhile comes up");

  // Caps Lock (as Q) let go of while the hooks were gone: Q must not stay down.
  SendKey(VK_CAPITAL, 0x3A, true);
  Check(PumpUntil([] { return KeyDown('Q'); }, 5000), "Caps Lock holds Q down");
  const Removal bothGone = NoteRemoval();
  RemoveLibraryHooks(2);
  PassRemovalTick(bothGone);
  SendKey(VK_CAPITAL, 0x3A, false);
  Check(BackByDueTick(bothGone, GetTickCount(), [] {}), "the hooks come back");
  Check(PumpUntil([] { return !KeyDown('Q'); }, 5000), "after the reinstall, Q is let go of");

  // Input the hooks are never given: the watchdog backs off, each wait twice the one before
  // (1, 2, 4 s), so 12 ticks hold 2 or 3 reinstallations; without the back-off there would be
  // 12, without its doubling 6. A tick served late may shift one, so up to 4 pass.
  const std::size_t before = g_reinstallTicks.size();
  g_inputElsewhere = true;
  Check(PumpTicks(12), "the watchdog ticks");
  g_inputElsewhere = false;
  const std::size_t during = g_reinstallTicks.size() - before;
  std::printf("     (%u reinstallations in 12 ticks of input the hooks were never given)\n",
              static_cast<unsigned>(during));
  Check(during >= 2 && during <= 4, "it backs off while the hooks are never given the input");
  Check(g_libraryHooksInPlace == 2, "exactly two hooks of the library are in place");
  const std::vector<DWORD> down = Press(VK_CAPITAL, 0x3A);
  Check(down.size() == 1 && down[0] == 'Q', "the hooks still decide");

  library.StopHook();
  library.EnableHookStatue(0);
  DeleteFileA(rules.c_str());
  RemoveDirectoryA(folder.c_str());
  return g_failures == 0 ? 0 : 1;
}

}  // namespace

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
