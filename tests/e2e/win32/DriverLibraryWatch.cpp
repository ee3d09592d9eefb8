// The driver's watches of the library's imports: each call traced in its place, then passed on
// to the real function.
#include "tests/e2e/win32/DriverLibraryWatch.h"

#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "tests/e2e/win32/DriverDeviceTool.h"
#include "tests/e2e/win32/DriverHookGate.h"
#include "tests/e2e/win32/DriverInput.h"
#include "tests/e2e/win32/DriverStarts.h"
#include "tests/e2e/win32/DriverTrace.h"
#include "tests/e2e/win32/ImportTablePatch.h"

DWORD g_hookThread = 0;
SeenRules g_seenRules;

namespace {

// The library's imports that the driver watches, besides those of the hooks and the input.
decltype(&ShellExecuteExA) g_realShellExecuteEx = nullptr;
decltype(&SystemParametersInfoA) g_realSystemParametersInfo = nullptr;
decltype(&SendNotifyMessageA) g_realSendNotify = nullptr;
decltype(&WTSRegisterSessionNotification) g_realRegisterSession = nullptr;
decltype(&WTSUnRegisterSessionNotification) g_realUnregisterSession = nullptr;

// The rule file entries of the mouse devices' state are written by the device tool's worker, a
// moment after the hook asked for the run: traced at the end of the script line that the run's
// start or end falls in (as tastron-sim shows them). The library tells each entry on the
// debugger output once it is in the file, so the trace never shows one before.
void TraceEntry(const char* told) {
  std::string line = std::string("ini ") + told;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (GetCurrentThreadId() == g_hookThread) {
    Emit("%s", line.c_str());
  } else {
    g_toolEffects.Add(ToolEffects::Kind::Effect, std::move(line));
  }
}

void WINAPI WatchDebugLine(LPCSTR text) {
  static constexpr char kRun[] = "trellin_192: run ";
  static constexpr char kRuleFile[] = "trellin_192: rule file ";
  static constexpr char kToolEnded[] = "trellin_192: device tool ended";
  static constexpr char kEntry[] = "trellin_192: entry ";
  if (text != nullptr && std::strncmp(text, kEntry, sizeof kEntry - 1) == 0) {
    TraceEntry(text + sizeof kEntry - 1);
    return;
  }
  if (text != nullptr && std::strncmp(text, kToolEnded, sizeof kToolEnded - 1) == 0) {
    g_toolEffects.Add(ToolEffects::Kind::RunEnded);
    return;
  }
  if (text != nullptr && std::strncmp(text, kRuleFile, sizeof kRuleFile - 1) == 0) {
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    const std::size_t colon = line.rfind(": ");
    EnterCriticalSection(&g_seenRules.lock);
    g_seenRules.version = colon == std::string::npos ? line : line.substr(colon + 2);
    LeaveCriticalSection(&g_seenRules.lock);
    return;
  }
  if (text == nullptr || std::strncmp(text, kRun, sizeof kRun - 1) != 0) return;
  std::string line(text + sizeof "trellin_192: " - 1);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  Emit("%s", line.c_str());
  if (line.rfind(std::string("run \"") + kDevconPath + "\"", 0) == 0) NoteToolRunAsked();
  EnterCriticalSection(&g_starts.lock);
  g_starts.asked.push_back(line);
  LeaveCriticalSection(&g_starts.lock);
}

HINSTANCE WINAPI WatchShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR parameters, LPCSTR, INT show) {
  NoteStart(StartLine(file, parameters, show), false);
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

BOOL WINAPI WatchShellExecuteEx(SHELLEXECUTEINFOA* info) {
  g_toolEffects.Add(ToolEffects::Kind::RunStarted);
  NoteStart(StartLine(info->lpFile, info->lpParameters, info->nShow), true);
  return g_realShellExecuteEx(info);
}

BOOL WINAPI WatchSystemParametersInfo(UINT action, UINT value, PVOID data, UINT update) {
  if (action == SPI_SETSCREENSAVEACTIVE) Emit("screensaver %s", value ? "on" : "off");
  return g_realSystemParametersInfo(action, value, data, update);
}

// The monitor-off broadcast: traced when the hook thread sends it, and in its place among the
// device tool's effects when the tool's worker does.
BOOL WINAPI WatchSendNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER && lParam == 2) {
    if (GetCurrentThreadId() == g_hookThread) {
      Emit("monitor off");
    } else {
      g_toolEffects.Add(ToolEffects::Kind::Effect, "monitor off");
    }
  }
  return g_realSendNotify(window, message, wParam, lParam);
}

// The windows that asked for session notifications. The driver stands for the session manager,
// which Wine does not have: it tells them of the script's locks and unlocks.
std::vector<HWND> g_sessionWindows;

BOOL WINAPI WatchRegisterSession(HWND window, DWORD flags) {
  if (g_realRegisterSession != nullptr) g_realRegisterSession(window, flags);
  if (std::find(g_sessionWindows.begin(), g_sessionWindows.end(), window) ==
      g_sessionWindows.end()) {
    g_sessionWindows.push_back(window);
  }
  return TRUE;
}

BOOL WINAPI WatchUnregisterSession(HWND window) {
  if (g_realUnregisterSession != nullptr) g_realUnregisterSession(window);
  g_sessionWindows.erase(std::remove(g_sessionWindows.begin(), g_sessionWindows.end(), window),
                         g_sessionWindows.end());
  return TRUE;
}

// The library's import of `function` goes to `watch`; `real` keeps the original. False when the
// library does not import it.
template <typename Function>
bool Patch(HMODULE module, const char* dll, const char* function, Function watch, Function& real) {
  real = reinterpret_cast<Function>(
      PatchImport(module, dll, function, reinterpret_cast<void*>(watch)));
  return real != nullptr;
}
template <typename Function>
bool Patch(HMODULE module, const char* dll, const char* function, Function watch) {
  Function real = nullptr;
  return Patch(module, dll, function, watch, real);
}

}  // namespace

void TellSessionWindows(WPARAM change) {
  const std::vector<HWND> windows = g_sessionWindows;
  for (HWND window : windows) SendMessageA(window, WM_WTSSESSION_CHANGE, change, 0);
}

bool WatchLibraryImports(HMODULE module) {
  const bool patched =
      Patch(module, "shell32.dll", "ShellExecuteExA", WatchShellExecuteEx, g_realShellExecuteEx) &&
      Patch(module, "shell32.dll", "ShellExecuteA", WatchShellExecute) &&
      Patch(module, "user32.dll", "SystemParametersInfoA", WatchSystemParametersInfo,
            g_realSystemParametersInfo) &&
      Patch(module, "kernel32.dll", "OutputDebugStringA", WatchDebugLine) &&
      Patch(module, "user32.dll", "keybd_event", WatchKeyEvent, g_realKeyEvent) &&
      Patch(module, "user32.dll", "mouse_event", WatchMouseEvent, g_realMouseEvent) &&
      Patch(module, "user32.dll", "SendNotifyMessageA", WatchSendNotify, g_realSendNotify) &&
      Patch(module, "user32.dll", "SetWindowsHookExA", WatchSetHook, g_realSetHook) &&
      Patch(module, "wtsapi32.dll", "WTSRegisterSessionNotification", WatchRegisterSession,
            g_realRegisterSession) &&
      Patch(module, "wtsapi32.dll", "WTSUnRegisterSessionNotification", WatchUnregisterSession,
            g_realUnregisterSession);
  if (!patched) {
    std::fprintf(stderr, "scenario-driver: the library's imports are not as expected\n");
    return false;
  }
  return true;
}
