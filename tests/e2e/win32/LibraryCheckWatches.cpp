// The library's imports that the checks watch (hooks, the watchdog's timer, debug lines, change
// notifications), and the library started under them.
#include "tests/e2e/win32/LibraryCheckWatches.h"

#include <cstdint>
#include <cstdio>

#include "tests/e2e/win32/ImportTablePatch.h"
#include "tests/e2e/win32/LibraryCheckKeys.h"

decltype(&SetWindowsHookExA) g_realSetHook = nullptr;
decltype(&UnhookWindowsHookEx) g_realUnhook = nullptr;
std::vector<HHOOK> g_libraryHooks;
int g_libraryHooksInPlace = 0;
std::vector<std::string> g_debugLines;
std::vector<DWORD> g_tickTimes;
std::vector<std::size_t> g_reinstallTicks;
volatile LONG g_changesCounted = 0;

namespace {

decltype(&SetTimer) g_realSetTimer = nullptr;
decltype(&FindNextChangeNotification) g_realFindNextChange = nullptr;
TIMERPROC g_watchdogTick = nullptr;

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

}  // namespace

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
