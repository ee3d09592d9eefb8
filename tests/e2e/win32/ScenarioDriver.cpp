// scenario-driver.exe SCRIPT: plays a scenario script on the real trellin_192.dll and prints
// the trace in the format of tastron-sim. The driver is the host: its own window is the host
// window, it loads the library by name and binds the six exports, replays physical input with
// SendInput (tagged, so that the library's own input shows as "injected"), and sees what reaches
// the system through low-level hooks installed before StartHook, which therefore run after the
// library's. What Wine cannot show directly (the screen saver switch, rule file writes) it sees
// by watching the library's imports of those calls. Programs start on the library's workers, a
// moment after the library asks: the driver traces the request (the library's debug line), then
// checks that the starts that really happened match the requests, in order. The device tool's
// worker does its part (notes, the broadcast after a run) a moment later still: the driver keeps
// the simulated desktop's clock (the script's waits) and the tool's duration, and shows each
// run's effects once that clock says the run has started or ended, as tastron-sim does.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "common/TextCase.h"
#include "scenario/ScenarioScript.h"
#include "tests/e2e/win32/BoundLibrary.h"
#include "tests/e2e/win32/ImportPatch.h"
#include "tests/e2e/win32/RuleFileVersion.h"

namespace {

constexpr ULONG_PTR kDriverTag = 0x44525652;  // physical input replayed by the driver
constexpr const char* kDevconPath = "C:\\Tastron\\dc64.exe";
constexpr UINT kVolumeStep = 0x466;
constexpr UINT kAwayMode = 0x468;
constexpr UINT kHooksInstalledAgain = 0x469;
constexpr const char* kDeviceToolDelay = "C:\\Tastron\\delay";

void Emit(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vprintf(format, arguments);
  va_end(arguments);
  std::fputc('\n', stdout);
}

// The library's imports that the driver watches.
decltype(&ShellExecuteExA) g_realShellExecuteEx = nullptr;
decltype(&SystemParametersInfoA) g_realSystemParametersInfo = nullptr;
decltype(&WritePrivateProfileStringA) g_realWriteProfile = nullptr;
decltype(&keybd_event) g_realKeyEvent = nullptr;
decltype(&mouse_event) g_realMouseEvent = nullptr;
decltype(&SendNotifyMessageA) g_realSendNotify = nullptr;
decltype(&SetWindowsHookExA) g_realSetHook = nullptr;
decltype(&WTSRegisterSessionNotification) g_realRegisterSession = nullptr;
decltype(&WTSUnRegisterSessionNotification) g_realUnregisterSession = nullptr;

DWORD g_hookThread = 0;

// The simulated desktop's clock: the sum of the script's waits so far.
ULONGLONG g_clockMs = 0;

// What the device tool's worker did, in its order: effects, and where each run started and
// ended. A run's note that comes before its start was written before the run; what comes
// between its start and its end, once it had ended.
struct ToolEffects {
  enum class Kind { Effect, RunStarted, RunEnded };
  struct Entry {
    Kind kind;
    std::string line;
  };
  CRITICAL_SECTION lock;
  std::vector<Entry> entries;
  ToolEffects() { InitializeCriticalSection(&lock); }
  void Add(Kind kind, std::string line = {}) {
    EnterCriticalSection(&lock);
    entries.push_back({kind, std::move(line)});
    LeaveCriticalSection(&lock);
  }
} g_toolEffects;

// When each run asked for starts and ends by the clock: after the run before it, taking as long
// as the stand-in tool is told to (its "delay" file).
struct ToolRunTimes {
  ULONGLONG start;
  ULONGLONG end;
};
std::vector<ToolRunTimes> g_toolRuns;
ULONGLONG g_toolDurationMs = 0;

void NoteToolRunAsked() {
  const ULONGLONG start =
      g_toolRuns.empty() ? g_clockMs : std::max(g_clockMs, g_toolRuns.back().end);
  g_toolRuns.push_back({start, start + g_toolDurationMs});
}

// Starts as the library asked for them (on the hook thread) and as they happened (on its
// workers). Programs of the scenarios are not started under Wine; the device tool really runs.
struct Starts {
  CRITICAL_SECTION lock;
  std::vector<std::string> asked;
  std::vector<std::string> happened;
  int deviceToolRuns = 0;
  Starts() { InitializeCriticalSection(&lock); }
} g_starts;

std::string StartLine(const char* file, const char* parameters, int show) {
  char number[16];
  std::snprintf(number, sizeof number, "%d", show);
  return std::string("run \"") + (file ? file : "") + "\" \"" + (parameters ? parameters : "") +
         "\" " + number;
}

void NoteStart(std::string line, bool deviceTool) {
  EnterCriticalSection(&g_starts.lock);
  g_starts.happened.push_back(std::move(line));
  if (deviceTool) ++g_starts.deviceToolRuns;
  LeaveCriticalSection(&g_starts.lock);
}

// The version of the rule file the library's watcher last looked at (read or found unreadable),
// as its line ends: "SIZE bytes, written STAMP" or "none". From the watcher's thread.
struct SeenRules {
  CRITICAL_SECTION lock;
  std::string version;
  SeenRules() { InitializeCriticalSection(&lock); }
} g_seenRules;

void WINAPI WatchDebugLine(LPCSTR text) {
  static constexpr char kRun[] = "trellin_192: run ";
  static constexpr char kRuleFile[] = "trellin_192: rule file ";
  static constexpr char kToolEnded[] = "trellin_192: device tool ended";
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

// Events the scenario says arrive while the library injects: they are played at the library's
// next injection call, before the injected event.
std::vector<INPUT> g_duringInjection;

void PlayDuringInjection() {
  std::vector<INPUT> waiting;
  waiting.swap(g_duringInjection);
  for (INPUT& input : waiting) SendInput(1, &input, sizeof input);
}

void WINAPI WatchKeyEvent(BYTE key, BYTE scan, DWORD flags, ULONG_PTR extra) {
  PlayDuringInjection();
  g_realKeyEvent(key, scan, flags, extra);
}

void WINAPI WatchMouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) {
  PlayDuringInjection();
  g_realMouseEvent(flags, dx, dy, data, extra);
}

BOOL WINAPI WatchSystemParametersInfo(UINT action, UINT value, PVOID data, UINT update) {
  if (action == SPI_SETSCREENSAVEACTIVE) Emit("screensaver %s", value ? "on" : "off");
  return g_realSystemParametersInfo(action, value, data, update);
}

// The rule file notes of the mouse devices' state are written by the device tool's worker, a
// moment after the hook asked for the run: traced at the end of the script line that the run's
// start or end falls in (as tastron-sim shows them).
BOOL WINAPI WatchWriteProfile(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  // Written first, so that the trace never shows a note before it is in the file.
  const BOOL written = g_realWriteProfile(section, key, value, file);
  if (section != nullptr && key != nullptr) {
    std::string line = std::string("ini ") + section + " " + key;
    line += value != nullptr ? std::string("=") + value : std::string(" deleted");
    if (GetCurrentThreadId() == g_hookThread) {
      Emit("%s", line.c_str());
    } else {
      g_toolEffects.Add(ToolEffects::Kind::Effect, std::move(line));
    }
  }
  return written;
}

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x", value & 0xFFu);
  return text;
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

void TraceKeyboard(WPARAM message, const KBDLLHOOKSTRUCT* event) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  Emit("key %s %s/%s%s%s", down ? "down" : "up", Hex2(event->vkCode).c_str(),
       Hex2(event->scanCode).c_str(), (event->flags & LLKHF_EXTENDED) ? " ext" : "",
       event->dwExtraInfo == kDriverTag ? "" : " injected");
}

void TraceMouse(WPARAM message, const MSLLHOOKSTRUCT* event) {
  {
    const char* injected = event->dwExtraInfo == kDriverTag ? "" : " injected";
    switch (message) {
      case WM_LBUTTONDOWN:
        Emit("mouse left down%s", injected);
        break;
      case WM_LBUTTONUP:
        Emit("mouse left up%s", injected);
        break;
      case WM_MBUTTONDOWN:
        Emit("mouse middle down%s", injected);
        break;
      case WM_MBUTTONUP:
        Emit("mouse middle up%s", injected);
        break;
      case WM_RBUTTONDOWN:
        Emit("mouse right down%s", injected);
        break;
      case WM_RBUTTONUP:
        Emit("mouse right up%s", injected);
        break;
      case WM_MOUSEWHEEL:
        Emit("wheel %d%s", static_cast<short>(HIWORD(event->mouseData)), injected);
        break;
      default:
        break;
    }
  }
}

// The driver's own hooks: whatever reaches them has passed the library.
LRESULT CALLBACK SeenKeyboard(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) TraceKeyboard(message, reinterpret_cast<const KBDLLHOOKSTRUCT*>(data));
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK SeenMouse(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) TraceMouse(message, reinterpret_cast<const MSLLHOOKSTRUCT*>(data));
  return CallNextHookEx(nullptr, code, message, data);
}

// The gate: hooks of the driver's, always first in the chain (installed again after each hook
// the library installs), that keep events from the library's hooks as the script says. A hook
// that returns without calling the next one leaves the event to the system, unseen by the rest:
// so an event reaches the system as if the library had no hook of that kind. A removed hook
// stays out until the library installs one of its kind again; a locked session keeps every
// event from every hook, the driver's own view included (the lock screen has it).
struct Gate {
  bool locked = false;
  bool removed[2] = {false, false};  // keyboard, mouse
  HHOOK hooks[2] = {nullptr, nullptr};
  bool reinstallExpected = false;  // hooks were removed, and the library has not said so since
} g_gate;

LRESULT CALLBACK GateKeyboard(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && (g_gate.locked || g_gate.removed[0])) {
    if (!g_gate.locked) TraceKeyboard(message, reinterpret_cast<const KBDLLHOOKSTRUCT*>(data));
    return 0;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK GateMouse(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && (g_gate.locked || g_gate.removed[1])) {
    if (!g_gate.locked) TraceMouse(message, reinterpret_cast<const MSLLHOOKSTRUCT*>(data));
    return 0;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

void PlaceGate(int kind) {
  if (g_gate.hooks[kind] != nullptr) UnhookWindowsHookEx(g_gate.hooks[kind]);
  g_gate.hooks[kind] =
      g_realSetHook(kind == 0 ? WH_KEYBOARD_LL : WH_MOUSE_LL, kind == 0 ? GateKeyboard : GateMouse,
                    GetModuleHandleA(nullptr), 0);
}

HHOOK WINAPI WatchSetHook(int kind, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
  const HHOOK hook = g_realSetHook(kind, procedure, module, thread);
  const int gate = kind == WH_KEYBOARD_LL ? 0 : kind == WH_MOUSE_LL ? 1 : -1;
  if (hook != nullptr && gate >= 0) {
    g_gate.removed[gate] = false;
    if (g_gate.hooks[gate] != nullptr) PlaceGate(gate);
  }
  return hook;
}

// The monitor-off broadcast is traced where the library sends it.
LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

// Clicks must not move the focus: the scenario alone decides it, as on the simulated desktop.
LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER) return 0;
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcA(window, message, wParam, lParam);
}

class WineDesktop final : public ScenarioDesktop {
 public:
  bool Start(const std::string& ruleFile);
  void Stop();

  HookSettings& HostSettings() override { return settings_; }
  void PushSettings() override { library_.UpdateValue(&settings_); }
  void Enable(std::int32_t enabled) override { library_.EnableHookStatue(enabled); }
  void SetRule(const std::string& section, const std::string& key,
               const std::string& value) override {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), ruleFile_.c_str());
  }
  void RemoveRule(const std::string& section, const std::string& key) override {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, ruleFile_.c_str());
  }
  void RemoveRuleSection(const std::string& section) override {
    WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, ruleFile_.c_str());
  }
  void LoadRuleFile(const std::string& bytes) override;
  void Key(KeyCodePair key, bool extended, bool down) override;
  void MouseButton(Button button, bool down) override;
  void Wheel(std::int16_t delta) override;
  void Move(std::int32_t dx, std::int32_t dy) override;
  void DuringInjection(const Input& input) override { g_duringInjection.push_back(ToInput(input)); }
  void Finish() override { PlayDuringInjection(); }
  bool HasWindow(const std::string& name) const override;
  void DeclareWindow(const std::string& name, const std::string& className, bool hidden,
                     const std::string* parentName, const std::string* program) override;
  void Foreground(const std::string& name) override;
  void Focus(const std::string& name) override { SetFocus(name.empty() ? nullptr : Find(name)); }
  void Cursor(const std::string& name) override;
  void ScreenSaver(bool active) override {
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0);
  }
  void HostGone() override { DestroyWindow(host_); }
  void Wait(std::chrono::milliseconds duration) override;
  void HooksRemoved(HookSet hooks) override {
    if (hooks != HookSet::Mouse) g_gate.removed[0] = true;
    if (hooks != HookSet::Keyboard) g_gate.removed[1] = true;
    g_gate.reinstallExpected = true;
  }
  void SessionLock() override;
  void SessionUnlock() override;
  void Settle() override;
  void EmitDueToolEffects();
  void Handle(const MSG& message);

  ULONGLONG LongestInputMs() const { return longestInputMs_; }

 private:
  HWND Find(const std::string& name) const;
  HWND StartProgramWindow(const std::string& program, const std::string& name,
                          const std::string& className, bool hidden, int x, int y);
  std::string NameOf(HWND window) const;
  static INPUT ToInput(const Input& input);
  // One input line's event; an event still waiting for an injection follows it.
  void Send(INPUT input);

  BoundLibrary library_;
  HookSettings settings_{};
  std::string ruleFile_;
  HWND host_ = nullptr;
  HWND pad_ = nullptr;     // where the cursor rests when the scenario puts it over no window
  HWND nobody_ = nullptr;  // in front when the scenario puts no window there
  HHOOK seenKeyboard_ = nullptr;
  HHOOK seenMouse_ = nullptr;
  std::map<std::string, HWND> windows_;  // by lower-case name
  int topLevelCount_ = 0;
  std::map<HWND, int> childCount_;
  std::vector<HANDLE> standIns_;      // the programs owning `program EXE` windows
  std::vector<HWND> standInWindows_;  // and their windows
  ULONGLONG longestInputMs_ = 0;
  // The device tool's effects shown so far: of every run before `toolRunsShown_`, and of the
  // next one those before its start when `toolRunStartShown_`; `toolEffectsShown_` counts the
  // entries passed.
  std::size_t toolRunsShown_ = 0;
  bool toolRunStartShown_ = false;
  std::size_t toolEffectsShown_ = 0;
  // Shows the effects before the next mark of the worker, once it has come (at most until
  // `deadline`), and passes the mark; false when it has not come.
  bool ShowToolEffectsUpToMark(ULONGLONG deadline);
};

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

// Every scenario starts with nothing down: the key state of a Wine desktop outlives the
// programs that used it.
void ReleaseEverything() {
  for (int key = 1; key < 256; ++key) {
    if ((GetAsyncKeyState(key) & 0x8000) == 0) continue;
    INPUT input{};
    switch (key) {
      case VK_LBUTTON:
        input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        break;
      case VK_RBUTTON:
        input.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        break;
      case VK_MBUTTON:
        input.mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
        break;
      default:
        break;
    }
    if (input.mi.dwFlags != 0) {
      input.type = INPUT_MOUSE;
    } else {
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = static_cast<WORD>(key);
      const bool extended =
          key == VK_RCONTROL || key == VK_RMENU || key == VK_LWIN || key == VK_RWIN;
      input.ki.dwFlags = KEYEVENTF_KEYUP | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    }
    SendInput(1, &input, sizeof input);
  }
}

bool WineDesktop::Start(const std::string& ruleFile) {
  ruleFile_ = ruleFile;
  g_hookThread = GetCurrentThreadId();
  if (FILE* delay = std::fopen(kDeviceToolDelay, "r")) {
    unsigned long milliseconds = 0;
    if (std::fscanf(delay, "%lu", &milliseconds) == 1) g_toolDurationMs = milliseconds;
    std::fclose(delay);
  }
  ReleaseEverything();
  if (!library_.Load("scenario-driver")) return false;
  const HMODULE module = library_.module;
  const bool patched =
      Patch(module, "shell32.dll", "ShellExecuteExA", WatchShellExecuteEx, g_realShellExecuteEx) &&
      Patch(module, "shell32.dll", "ShellExecuteA", WatchShellExecute) &&
      Patch(module, "user32.dll", "SystemParametersInfoA", WatchSystemParametersInfo,
            g_realSystemParametersInfo) &&
      Patch(module, "kernel32.dll", "WritePrivateProfileStringA", WatchWriteProfile,
            g_realWriteProfile) &&
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

  WNDCLASSA hostClass{};
  hostClass.lpfnWndProc = HostProcedure;
  hostClass.hInstance = GetModuleHandleA(nullptr);
  hostClass.lpszClassName = "TastronScenarioHost";
  RegisterClassA(&hostClass);
  host_ = CreateWindowExA(0, hostClass.lpszClassName, "Tastron scenario host", WS_OVERLAPPEDWINDOW,
                          0, 0, 100, 100, nullptr, nullptr, hostClass.hInstance, nullptr);
  if (host_ == nullptr) {
    std::fprintf(stderr, "scenario-driver: cannot create the host window (error %lu)\n",
                 GetLastError());
    return false;
  }

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

  // A window of the driver's own under the resting cursor, so that a click never lands on
  // another program's window (which would take the focus away).
  WNDCLASSA padClass{};
  padClass.lpfnWndProc = PlainProcedure;
  padClass.hInstance = GetModuleHandleA(nullptr);
  padClass.lpszClassName = "TastronScenarioPad";
  RegisterClassA(&padClass);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  // Shown without activation, as every window of a scenario: the scenario starts with the focus
  // nowhere, as on the simulated desktop.
  pad_ = CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOPMOST, padClass.lpszClassName, "", WS_POPUP,
                         width - 40, height - 40, 40, 40, nullptr, nullptr, padClass.hInstance,
                         nullptr);
  ShowWindow(pad_, SW_SHOWNOACTIVATE);
  // Hidden, as the host is: a visible window coming to the front takes the X input focus, and
  // Wine then takes the X server's key map, which knows nothing of the keys SendInput holds
  // down, for the truth, so the desktop would forget them.
  nobody_ = CreateWindowExA(WS_EX_NOACTIVATE, padClass.lpszClassName, "", WS_POPUP, 0, 0, 40, 40,
                            nullptr, nullptr, padClass.hInstance, nullptr);
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

// Windows calls the low-level hooks before SendInput returns, so this is how long the hooks
// held the input.
void WineDesktop::Send(INPUT input) {
  const ULONGLONG started = GetTickCount64();
  SendInput(1, &input, sizeof input);
  const ULONGLONG took = GetTickCount64() - started;
  if (took > longestInputMs_) longestInputMs_ = took;
  // What this event's hook call posted happened before the held event arrives (tastron-sim
  // traces a post when it is made): shown first.
  if (!g_duringInjection.empty()) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) Handle(message);
  }
  PlayDuringInjection();
}

INPUT WineDesktop::ToInput(const Input& event) {
  static constexpr DWORD kFlags[3][2] = {{MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN},
                                         {MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_MIDDLEDOWN},
                                         {MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN}};
  INPUT input{};
  switch (event.kind) {
    case Input::Kind::Key:
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = event.key.virtualKey;
      input.ki.wScan = event.key.scanCode;
      input.ki.dwFlags =
          (event.extended ? KEYEVENTF_EXTENDEDKEY : 0) | (event.down ? 0 : KEYEVENTF_KEYUP);
      input.ki.dwExtraInfo = kDriverTag;
      break;
    case Input::Kind::Button:
      input.type = INPUT_MOUSE;
      input.mi.dwFlags = kFlags[static_cast<int>(event.button)][event.down ? 1 : 0];
      input.mi.dwExtraInfo = kDriverTag;
      break;
    case Input::Kind::Wheel:
      input.type = INPUT_MOUSE;
      input.mi.dwFlags = MOUSEEVENTF_WHEEL;
      input.mi.mouseData = static_cast<DWORD>(static_cast<LONG>(event.delta));
      input.mi.dwExtraInfo = kDriverTag;
      break;
  }
  return input;
}

void WineDesktop::Key(KeyCodePair key, bool extended, bool down) {
  Input event;
  event.kind = Input::Kind::Key;
  event.key = key;
  event.extended = extended;
  event.down = down;
  Send(ToInput(event));
}

void WineDesktop::MouseButton(Button button, bool down) {
  Input event;
  event.kind = Input::Kind::Button;
  event.button = button;
  event.down = down;
  Send(ToInput(event));
}

void WineDesktop::Wheel(std::int16_t delta) {
  Input event;
  event.kind = Input::Kind::Wheel;
  event.delta = delta;
  Send(ToInput(event));
}

// A movement by so many pixels goes to an absolute point, so that no pointer acceleration
// changes the distance the library sees; a plain "move" goes nowhere.
void WineDesktop::Move(std::int32_t dx, std::int32_t dy) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  input.mi.dwExtraInfo = kDriverTag;
  if (dx != 0 || dy != 0) {
    POINT at{};
    GetCursorPos(&at);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const LONG x = at.x + dx;
    const LONG y = at.y + dy;
    // The centre of pixel x in the 0..65535 range of an absolute movement.
    input.mi.dx = static_cast<LONG>((x * 65536LL + 32768) / width);
    input.mi.dy = static_cast<LONG>((y * 65536LL + 32768) / height);
    input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
  }
  Send(input);
}

bool WineDesktop::HasWindow(const std::string& name) const {
  return EqualsIgnoringCase(name, "host") || windows_.count(ToAsciiLower(name)) != 0;
}

HWND WineDesktop::Find(const std::string& name) const {
  if (EqualsIgnoringCase(name, "host")) return host_;
  const auto found = windows_.find(ToAsciiLower(name));
  return found == windows_.end() ? nullptr : found->second;
}

std::string WineDesktop::NameOf(HWND window) const {
  if (window == host_) return "host";
  if (window == pad_ || window == nobody_) return "none";
  for (const auto& [name, handle] : windows_) {
    if (handle == window) return name;
  }
  return "?";
}

void WineDesktop::DeclareWindow(const std::string& name, const std::string& className, bool hidden,
                                const std::string* parentName, const std::string* program) {
  // Every declared class becomes a plain window class of this program, so that the class name
  // is exactly the one declared.
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PlainProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className.c_str();
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);

  const HWND parent = parentName != nullptr ? Find(*parentName) : nullptr;
  const DWORD visible = hidden ? 0 : WS_VISIBLE;
  HWND window = nullptr;
  if (parent != nullptr) {
    // Children sit in a row along the parent's top edge, away from its centre.
    const int index = childCount_[parent]++;
    window = CreateWindowExA(0, className.c_str(), name.c_str(), WS_CHILD | visible, 4 + 44 * index,
                             4, 40, 16, parent, nullptr, windowClass.hInstance, nullptr);
  } else if (program != nullptr) {
    const int index = topLevelCount_++;
    window = StartProgramWindow(*program, name, className, hidden, 20 + 240 * (index % 4),
                                20 + 220 * (index / 4));
    if (window != nullptr) standInWindows_.push_back(window);
  } else {
    // Top-level windows side by side, so that each centre is over that window alone. Shown
    // without activation, as the stand-ins' windows: one created visible takes the X input
    // focus, and the window in front would lose its place a moment later.
    const int index = topLevelCount_++;
    window = CreateWindowExA(WS_EX_NOACTIVATE, className.c_str(), name.c_str(),
                             WS_POPUP | WS_BORDER, 20 + 240 * (index % 4), 20 + 220 * (index / 4),
                             220, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window != nullptr && !hidden) ShowWindow(window, SW_SHOWNOACTIVATE);
  }
  if (window == nullptr) {
    std::fprintf(stderr, "scenario-driver: cannot create window %s (error %lu)\n", name.c_str(),
                 GetLastError());
    return;
  }
  windows_[ToAsciiLower(name)] = window;
  SetFocus(GetFocus() == window ? nullptr : GetFocus());
}

// A program's window: a stand-in program copied under the program's name, in a folder of its
// own, owns it. The driver waits for the window, and the stand-in ends with the driver.
HWND WineDesktop::StartProgramWindow(const std::string& program, const std::string& name,
                                     const std::string& className, bool hidden, int x, int y) {
  char driverPath[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, driverPath, MAX_PATH);
  std::string folder = driverPath;
  folder.resize(folder.find_last_of('\\') + 1);
  const std::string standIn = folder + "program-standin.exe";
  char temporary[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temporary);
  const std::string programFolder = std::string(temporary) + "tastron-programs-" +
                                    std::to_string(GetCurrentProcessId()) + "\\" +
                                    std::to_string(topLevelCount_);
  CreateDirectoryA(
      (std::string(temporary) + "tastron-programs-" + std::to_string(GetCurrentProcessId()))
          .c_str(),
      nullptr);
  CreateDirectoryA(programFolder.c_str(), nullptr);
  const std::string path = programFolder + "\\" + program;
  if (!CopyFileA(standIn.c_str(), path.c_str(), FALSE)) return nullptr;
  std::string commandLine = "\"" + path + "\" \"" + className + "\" \"" + name + "\" " +
                            (hidden ? "0 " : "1 ") + std::to_string(x) + " " + std::to_string(y) +
                            " " + std::to_string(GetCurrentProcessId());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started)) {
    return nullptr;
  }
  CloseHandle(started.hThread);
  standIns_.push_back(started.hProcess);
  // Bounded: a stand-in that cannot start its window fails the script, it does not hang it.
  // The window counts once it is shown (the stand-in shows it after creating it), so that the
  // stand-in's start-up is over before the next line.
  for (int waited = 0; waited < 1000; ++waited) {
    HWND window = FindWindowA(className.c_str(), name.c_str());
    if (window != nullptr && (hidden || IsWindowVisible(window))) return window;
    if (WaitForSingleObject(started.hProcess, 10) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

// "none": a hidden window of the driver's, whose program no script names. Wine acts on a
// change of the X input focus when the program owning the window handles it (one that learns
// that its window in front lost the focus puts the desktop in front), so the window counts as
// in front once every program, the driver included, has handled what it was sent meanwhile and
// the window is still there.
void WineDesktop::Foreground(const std::string& name) {
  const HWND window = name.empty() ? nobody_ : Find(name);
  const ULONGLONG started = GetTickCount64();
  while (GetTickCount64() - started < 10000) {
    if (GetForegroundWindow() != window) SetForegroundWindow(window);
    if (GetForegroundWindow() != window) {
      Sleep(10);
      continue;
    }
    for (HWND standIn : standInWindows_) {
      SendMessageTimeoutA(standIn, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    }
    Settle();
    if (GetForegroundWindow() == window) break;
  }
  if (GetForegroundWindow() != window) {
    std::fprintf(stderr, "scenario-driver: window %s did not come to the front\n", name.c_str());
  }
}

void WineDesktop::Cursor(const std::string& name) {
  // Windows always finds a window under the cursor (at least the desktop's); "none" rests it
  // over the driver's pad.
  RECT area{};
  GetWindowRect(name.empty() ? pad_ : Find(name), &area);
  SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
}

// Shows what was posted to the host and the windows, and dispatches the message. The library's
// word that it put its hooks back is shown while the script has hooks removed: Wine's server
// stamps the input a hook was given a moment after the hook answered, so after a quarter second
// of quiet the watchdog now and then puts back hooks that worked, which Windows would not do.
void WineDesktop::Handle(const MSG& message) {
  const bool reinstallShown = message.message == kHooksInstalledAgain && g_gate.reinstallExpected;
  if (reinstallShown && message.wParam != 0) g_gate.reinstallExpected = false;
  if (message.hwnd == host_ &&
      (message.message == kVolumeStep || message.message == kAwayMode || reinstallShown)) {
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

// Lets what is pending arrive, and shows what was posted to the host and the windows.
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
  EmitDueToolEffects();
  std::fflush(stdout);
}

// Time passes with the driver's messages dispatched, the library's timers among them.
void WineDesktop::Wait(std::chrono::milliseconds duration) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(duration.count());
  MSG message;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) Handle(message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
  g_clockMs += static_cast<ULONGLONG>(duration.count());
}

void TellSessionWindows(WPARAM change) {
  const std::vector<HWND> windows = g_sessionWindows;
  for (HWND window : windows) SendMessageA(window, WM_WTSSESSION_CHANGE, change, 0);
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

// Shows the device tool's effects of every run that has started or ended by the clock, waiting
// for the worker where it has not got that far yet (at most 30 s: a run that never ends shows
// as a trace that differs). No input comes meanwhile, so the hooks are not needed.
void WineDesktop::EmitDueToolEffects() {
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (toolRunsShown_ < g_toolRuns.size()) {
    const ToolRunTimes& run = g_toolRuns[toolRunsShown_];
    if (!toolRunStartShown_) {
      if (run.start > g_clockMs || !ShowToolEffectsUpToMark(deadline)) return;
      toolRunStartShown_ = true;
    }
    if (run.end > g_clockMs || !ShowToolEffectsUpToMark(deadline)) return;
    toolRunStartShown_ = false;
    ++toolRunsShown_;
  }
}

bool WineDesktop::ShowToolEffectsUpToMark(ULONGLONG deadline) {
  for (;;) {
    std::vector<std::string> lines;
    bool marked = false;
    EnterCriticalSection(&g_toolEffects.lock);
    for (std::size_t i = toolEffectsShown_; i < g_toolEffects.entries.size(); ++i) {
      if (g_toolEffects.entries[i].kind == ToolEffects::Kind::Effect) continue;
      for (std::size_t j = toolEffectsShown_; j < i; ++j) {
        lines.push_back(g_toolEffects.entries[j].line);
      }
      toolEffectsShown_ = i + 1;
      marked = true;
      break;
    }
    LeaveCriticalSection(&g_toolEffects.lock);
    for (const std::string& line : lines) Emit("%s", line.c_str());
    if (marked) return true;
    if (GetTickCount64() > deadline) return false;
    Sleep(5);
  }
}

std::string TemporaryRuleFile() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  std::string path = std::string(folder) + "tastron-e2e-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path.c_str(), nullptr);
  return path + "\\config.ini";
}

int CountLines(const char* file) {
  std::ifstream in(file);
  int lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

constexpr const char* kDeviceToolLog = "C:\\Tastron\\devicetool.log";

// A top-level window whose thread never looks at its messages again: whatever is sent to it
// and waits for an answer waits for ever.
DWORD WINAPI HungWindowThread(void* ready) {
  WNDCLASSA hungClass{};
  hungClass.lpfnWndProc = DefWindowProcA;
  hungClass.hInstance = GetModuleHandleA(nullptr);
  hungClass.lpszClassName = "TastronHungWindow";
  RegisterClassA(&hungClass);
  CreateWindowExA(WS_EX_NOACTIVATE, hungClass.lpszClassName, "hung", WS_POPUP | WS_VISIBLE, 0, 600,
                  50, 50, nullptr, nullptr, hungClass.hInstance, nullptr);
  SetEvent(static_cast<HANDLE>(ready));
  Sleep(INFINITE);
  return 0;
}

void StartHungWindow() {
  const HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const HANDLE thread = CreateThread(nullptr, 0, HungWindowThread, ready, 0, nullptr);
  if (thread != nullptr) CloseHandle(thread);
  WaitForSingleObject(ready, 10000);
  CloseHandle(ready);
}

// Waits (at most 30 s) until every start the library asked for has happened and every device
// tool run has ended; then whether they match, in order.
bool StartsMatchRequests(WineDesktop& desktop, int deviceToolLogBefore) {
  for (int waited = 0; waited < 3000; ++waited) {
    EnterCriticalSection(&g_starts.lock);
    const bool allStarted = g_starts.happened.size() >= g_starts.asked.size();
    const int runs = g_starts.deviceToolRuns;
    LeaveCriticalSection(&g_starts.lock);
    if (allStarted && CountLines(kDeviceToolLog) >= deviceToolLogBefore + runs) break;
    desktop.Settle();
  }
  // The device tool's runs keep their order among themselves and programs theirs: the two go
  // through different workers, so a slow run never delays a program.
  const auto only = [](const std::vector<std::string>& lines, bool deviceTool) {
    const std::string tool = std::string("run \"") + kDevconPath + "\"";
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
      if ((line.compare(0, tool.size(), tool) == 0) == deviceTool) kept.push_back(line);
    }
    return kept;
  };
  EnterCriticalSection(&g_starts.lock);
  const bool same = only(g_starts.asked, true) == only(g_starts.happened, true) &&
                    only(g_starts.asked, false) == only(g_starts.happened, false);
  if (!same) {
    std::fprintf(stderr, "scenario-driver: the library asked for these starts:\n");
    for (const std::string& line : g_starts.asked) std::fprintf(stderr, "  %s\n", line.c_str());
    std::fprintf(stderr, "but these happened:\n");
    for (const std::string& line : g_starts.happened) std::fprintf(stderr, "  %s\n", line.c_str());
  }
  LeaveCriticalSection(&g_starts.lock);
  return same;
}

// A crash says what and where, and ends the driver at once: Wine would otherwise start its
// debugger, which waits on the display until the run's time-out.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* crash) {
  std::fprintf(stderr, "scenario-driver: exception %08lx at %p\n",
               crash->ExceptionRecord->ExceptionCode, crash->ExceptionRecord->ExceptionAddress);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

// scenario-driver SCRIPT [--report-timing] [--hung-window]
//   --report-timing   print the longest time the hooks held one input event on stderr
//   --hung-window     a top-level window that never answers is present while the script runs
// Before it ends, the driver waits until the programs the library asked for have started and
// the device tool's runs have ended, and fails (exit status 4) if they differ from the requests.
int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(ReportCrash);
  _setmode(_fileno(stdout), _O_BINARY);
  // The scenarios' host environment names the Windows folder so.
  SetEnvironmentVariableA("windir", "C:\\Windows");
  bool reportTiming = false;
  bool hungWindow = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--report-timing") == 0) {
      reportTiming = true;
    } else if (std::strcmp(argv[i], "--hung-window") == 0) {
      hungWindow = true;
    } else {
      argc = 0;
    }
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: scenario-driver SCRIPT [--report-timing] [--hung-window]\n");
    return 2;
  }
  std::ifstream script(argv[1], std::ios::binary);
  if (!script) {
    std::fprintf(stderr, "scenario-driver: cannot open %s\n", argv[1]);
    return 2;
  }
  const std::string ruleFile = TemporaryRuleFile();
  DeleteFileA(ruleFile.c_str());
  const int deviceToolLogBefore = CountLines(kDeviceToolLog);
  if (hungWindow) StartHungWindow();

  WineDesktop desktop;
  if (!desktop.Start(ruleFile)) return 3;
  struct StdoutTrace : std::streambuf {
    int overflow(int c) override { return c == EOF ? 0 : std::fputc(c, stdout); }
  } traceBuffer;
  std::ostream trace(&traceBuffer);
  ScenarioScript runner(desktop, trace, ScenarioScript::FolderOf(argv[1]));
  const auto error = runner.Run(script);
  desktop.Settle();
  const bool startsMatch = StartsMatchRequests(desktop, deviceToolLogBefore);
  desktop.Stop();
  std::fflush(stdout);
  if (reportTiming) {
    std::fprintf(stderr, "longest input: %llu ms\n", desktop.LongestInputMs());
  }

  DeleteFileA(ruleFile.c_str());
  RemoveDirectoryA(ruleFile.substr(0, ruleFile.rfind('\\')).c_str());
  if (error) {
    std::fprintf(stderr, "%s\n", error->c_str());
    return 2;
  }
  return startsMatch ? 0 : 4;
}
