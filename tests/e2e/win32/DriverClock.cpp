#include "tests/e2e/win32/DriverClock.h"

#include <algorithm>
#include <vector>

#include "tests/e2e/win32/DriverDeviceTool.h"
#include "tests/e2e/win32/DriverLibraryWatch.h"
#include "tests/e2e/win32/ImportTablePatch.h"

namespace {

struct ScriptTimer {
  UINT_PTR id;
  ULONGLONG periodMs;
  ULONGLONG nextDueMs;  // by the script's clock
  TIMERPROC procedure;
};

// The clock starts at a real tick count so that its values look like one.
DWORD g_tickBase = 0;
// Into the wait now running, 0 outside one.
ULONGLONG g_inWaitMs = 0;
ULONGLONG g_lastInputMs = 0;
std::vector<ScriptTimer> g_timers;
UINT_PTR g_nextTimerId = 0x7A00;

decltype(&GetTickCount) g_realGetTickCount = nullptr;
decltype(&GetLastInputInfo) g_realGetLastInputInfo = nullptr;
decltype(&SetTimer) g_realSetTimer = nullptr;
decltype(&KillTimer) g_realKillTimer = nullptr;

ULONGLONG ScriptMs() {
  return g_clockMs + g_inWaitMs;
}

bool OnHookThread() {
  return GetCurrentThreadId() == g_hookThread;
}

DWORD WINAPI ScriptGetTickCount() {
  if (!OnHookThread()) return g_realGetTickCount();
  return g_tickBase + static_cast<DWORD>(ScriptMs());
}

BOOL WINAPI ScriptGetLastInputInfo(PLASTINPUTINFO info) {
  if (!OnHookThread()) return g_realGetLastInputInfo(info);
  if (info == nullptr || info->cbSize != sizeof *info) return FALSE;
  info->dwTime = g_tickBase + static_cast<DWORD>(g_lastInputMs);
  return TRUE;
}

// Thread timers of the hook thread run by the script's clock; any other stays real.
UINT_PTR WINAPI ScriptSetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure) {
  if (window != nullptr || procedure == nullptr || !OnHookThread()) {
    return g_realSetTimer(window, id, periodMs, procedure);
  }
  const ULONGLONG period = std::max<ULONGLONG>(periodMs, USER_TIMER_MINIMUM);
  for (ScriptTimer& timer : g_timers) {
    if (id != 0 && timer.id == id) {
      timer = {id, period, ScriptMs() + period, procedure};
      return id;
    }
  }
  const UINT_PTR made = id != 0 ? id : g_nextTimerId++;
  g_timers.push_back({made, period, ScriptMs() + period, procedure});
  return made;
}

BOOL WINAPI ScriptKillTimer(HWND window, UINT_PTR id) {
  if (window != nullptr) return g_realKillTimer(window, id);
  const auto found = std::find_if(g_timers.begin(), g_timers.end(),
                                  [id](const ScriptTimer& timer) { return timer.id == id; });
  if (found == g_timers.end()) return g_realKillTimer(window, id);
  g_timers.erase(found);
  return TRUE;
}

}  // namespace

bool UseScriptClock(HMODULE library) {
  g_tickBase = GetTickCount();
  const auto patch = [library](const char* dll, const char* function, void* script, auto& real) {
    real = reinterpret_cast<std::remove_reference_t<decltype(real)>>(
        PatchImport(library, dll, function, script));
    return real != nullptr;
  };
  return patch("kernel32.dll", "GetTickCount", reinterpret_cast<void*>(&ScriptGetTickCount),
               g_realGetTickCount) &&
         patch("user32.dll", "GetLastInputInfo", reinterpret_cast<void*>(&ScriptGetLastInputInfo),
               g_realGetLastInputInfo) &&
         patch("user32.dll", "SetTimer", reinterpret_cast<void*>(&ScriptSetTimer),
               g_realSetTimer) &&
         patch("user32.dll", "KillTimer", reinterpret_cast<void*>(&ScriptKillTimer),
               g_realKillTimer);
}

void StampInput() {
  g_lastInputMs = ScriptMs();
}

// As the simulated desktop's: a timer whose due time passed while the thread was busy fires
// once, and its next time is the next period after now.
void RunScriptTimers(ULONGLONG elapsedMs) {
  for (;;) {
    ScriptTimer* due = nullptr;
    for (ScriptTimer& timer : g_timers) {
      if (timer.nextDueMs <= g_clockMs + elapsedMs &&
          (due == nullptr || timer.nextDueMs < due->nextDueMs)) {
        due = &timer;
      }
    }
    if (due == nullptr) break;
    g_inWaitMs = std::max(g_inWaitMs, due->nextDueMs - g_clockMs);
    while (due->nextDueMs <= ScriptMs()) due->nextDueMs += due->periodMs;
    const UINT_PTR id = due->id;
    const TIMERPROC procedure = due->procedure;
    procedure(nullptr, WM_TIMER, id, ScriptGetTickCount());  // may kill or set timers
  }
  g_inWaitMs = std::max(g_inWaitMs, elapsedMs);
}

ULONGLONG MsToNextScriptTimer(ULONGLONG elapsedMs, ULONGLONG limitMs) {
  ULONGLONG next = limitMs;
  for (const ScriptTimer& timer : g_timers) {
    const ULONGLONG dueIn =
        timer.nextDueMs > g_clockMs + elapsedMs ? timer.nextDueMs - (g_clockMs + elapsedMs) : 0;
    next = std::min(next, dueIn);
  }
  return next;
}

void EndScriptWait() {
  g_inWaitMs = 0;
}
