// The Wine desktop's start and end, its waits, the rule file it replaces, the session it locks,
// and what was posted to the host and the windows.
#include "tests/e2e/win32/WineDesktop.h"

#include <wtsapi32.h>

#include <algorithm>
#include <cstdio>

#include "tests/e2e/win32/DriverClock.h"
#include "tests/e2e/win32/DriverLibraryWatch.h"
#include "tests/e2e/win32/DriverStarts.h"
#include "tests/e2e/win32/DriverTrace.h"
#include "tests/e2e/win32/RuleFileVersion.h"

namespace {

constexpr UINT kVolumeStep = 0x466;
constexpr UINT kAwayMode = 0x468;
constexpr UINT kHooksInstalledAgain = 0x469;
constexpr UINT kUserPause = 0x46A;

}  // namespace

bool WineDesktop::Start(const std::string& ruleFile) {
  ruleFile_ = ruleFile;
  g_hookThread = GetCurrentThreadId();
  ReadToolDuration();
  ReleaseEverything();
  if (!library_.Load("scenario-driver")) return false;
  if (!WatchLibraryImports(library_.module) || !UseScriptClock(library_.module)) return false;
  if (!CreateHost()) return false;

  // As the main program does; the driver's hooks go in first so that they run after the library's.
  library_.SetConfigINI(ruleFile_.c_str());
  library_.SetDevconPath(kDevconPath);
  seenKeyboard_ = SetWindowsHookExA(WH_KEYBOARD_LL, SeenKeyboard, GetModuleHandleA(nullptr), 0);
  seenMouse_ = SetWindowsHookExA(WH_MOUSE_LL, SeenMouse, GetModuleHandleA(nullptr), 0);
  const auto hostValue = static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(host_));
  if (library_.StartHook(hostValue) != 1) {
    std::fprintf(stderr, "scenario-driver: StartHook failed\n");
    return false;
  }
  library_.EnableHookStatue(1);
  PlaceGate(0);
  PlaceGate(1);

  CreatePads();
  Cursor("");
  ScreenSaver(false);
  Settle();
  return true;
}

// The trace ends with the script: what StopHook lets go of (a Shift that Shift memory still
// holds) is not shown, as tastron-sim, which never stops, shows nothing after the last line.
void WineDesktop::Stop() {
  if (seenKeyboard_ != nullptr) UnhookWindowsHookEx(seenKeyboard_);
  if (seenMouse_ != nullptr) UnhookWindowsHookEx(seenMouse_);
  for (HHOOK& gate : g_gate.hooks) {
    if (gate != nullptr) UnhookWindowsHookEx(gate);
    gate = nullptr;
  }
  if (library_.StopHook != nullptr) {
    library_.StopHook();
    library_.EnableHookStatue(0);
  }
}

// Shows what was posted to the host and the windows, and dispatches the message. The library's
// word that it put its hooks back is shown while the script has hooks removed: Wine's server
// stamps the input a hook was given a moment after the hook answered, so after a quarter second
// of quiet the watchdog now and then puts back hooks that worked, which Windows would not do.
void WineDesktop::Handle(const MSG& message) {
  const bool reinstallShown = message.message == kHooksInstalledAgain && g_gate.reinstallExpected;
  if (reinstallShown && message.wParam != 0) g_gate.reinstallExpected = false;
  if (message.hwnd == host_ && (message.message == kVolumeStep || message.message == kAwayMode ||
                                message.message == kUserPause || reinstallShown)) {
    Emit("post host 0x%x %llu %lld", message.message,
         static_cast<unsigned long long>(message.wParam), static_cast<long long>(message.lParam));
  } else if (message.message == WM_HSCROLL && message.hwnd != nullptr) {
    const HWND bar = reinterpret_cast<HWND>(message.lParam);
    Emit("hscroll %s %llu %s", NameOf(message.hwnd).c_str(),
         static_cast<unsigned long long>(message.wParam),
         bar != nullptr ? NameOf(bar).c_str() : "0");
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

// As another program saves a file: written beside it, then put in its place in one step.
void WineDesktop::LoadRuleFile(const std::string& bytes) {
  const std::string saving = ruleFile_ + ".saving";
  const HANDLE file = CreateFileA(saving.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool ok =
      file != INVALID_HANDLE_VALUE &&
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
      written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  // The library's watcher may have the file open for a moment (Wine then refuses to replace
  // it), as a careful saver expects of any reader: tried again for at most 2 s.
  bool replaced = false;
  for (int tries = 0; ok && !replaced && tries < 200; ++tries) {
    replaced = MoveFileExA(saving.c_str(), ruleFile_.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!replaced && GetLastError() != ERROR_ACCESS_DENIED &&
        GetLastError() != ERROR_SHARING_VIOLATION) {
      break;
    }
    if (!replaced) Sleep(10);
  }
  if (!ok || !replaced) {
    std::fprintf(stderr, "scenario-driver: cannot replace the rule file (error %lu)\n",
                 GetLastError());
  }
}

// Lets what is pending arrive, and shows what was posted to the host and the windows.
void WineDesktop::Settle() {
  // The library's watcher has looked at the rule file as it is now before the next command, as
  // on the simulated desktop (at most 30 s: a watcher that never gets there shows as a trace
  // that differs).
  const std::string wanted = RuleFileVersion(ruleFile_);
  for (int waited = 0; waited < 3000; ++waited) {
    EnterCriticalSection(&g_seenRules.lock);
    const bool seen = g_seenRules.version == wanted;
    LeaveCriticalSection(&g_seenRules.lock);
    if (seen) break;
    Sleep(10);
  }
  MSG message;
  for (int quiet = 0; quiet < 3;) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ++quiet;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      continue;
    }
    quiet = 0;
    Handle(message);
  }
  toolTrace_.EmitDue();
  std::fflush(stdout);
}

// Real time passes with the driver's messages dispatched, and the script's clock with it: the
// library's timers fire by that clock, as they are due.
void WineDesktop::Wait(std::chrono::milliseconds duration) {
  const ULONGLONG length = static_cast<ULONGLONG>(duration.count());
  const ULONGLONG started = GetTickCount64();
  MSG message;
  for (;;) {
    const ULONGLONG elapsed = std::min(GetTickCount64() - started, length);
    RunScriptTimers(elapsed);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) Handle(message);
    if (elapsed >= length) break;
    const ULONGLONG sleep = std::max<ULONGLONG>(MsToNextScriptTimer(elapsed, length - elapsed), 1);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(sleep), QS_ALLINPUT);
  }
  EndScriptWait();
  g_clockMs += length;
}

void WineDesktop::SessionLock() {
  g_gate.locked = true;
  TellSessionWindows(WTS_SESSION_LOCK);
}

// What is still down comes up on the lock screen, before the session is back.
void WineDesktop::SessionUnlock() {
  ReleaseEverything();
  g_gate.locked = false;
  TellSessionWindows(WTS_SESSION_UNLOCK);
}
