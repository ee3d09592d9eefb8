// input-bench.exe: what one input event costs under Wine, in one run: SendInput with no hook,
// with a pass-through low-level hook, and with trellin_192 (every switch off; every feature
// against a 600-entry rule file; the same with rules for 20 programs, 30 each, while a window of
// one of them, this program, is in front; the 600 entries and 20 tap-hold rules). Every event is a
// press or release of a key without any rule (Z): each press passes all the library's steps, rule
// look-ups included, and each release, owed to the system, passes without them. A Wine hook call's
// cost swings with the scheduler, so the five are measured in turn, several rounds, and each is
// given as its median.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/bench/RuleFileForBench.h"
#include "tests/e2e/win32/BoundLibrary.h"
#include "tests/e2e/win32/ImportTablePatch.h"
#include "tests/e2e/win32/RuleFileVersion.h"

namespace {

constexpr int kEvents = 2000;
constexpr int kRounds = 15;

LRESULT CALLBACK PassThrough(int code, WPARAM message, LPARAM data) {
  return CallNextHookEx(nullptr, code, message, data);
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// Microseconds per event.
double Measure() {
  LARGE_INTEGER frequency, start, stop;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kEvents; ++i) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = 'Z';
    input.ki.wScan = 0x2C;
    input.ki.dwFlags = (i % 2) ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
    Pump();
  }
  QueryPerformanceCounter(&stop);
  return 1e6 * static_cast<double>(stop.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart) / kEvents;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A rule file, with a time stamp safely in the past: a file written just now is read again at
// every event until no second write could share its stamp, and this measures the steady state.
std::string WriteRuleFile(const char* name, const std::string& text) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string rules = std::string(folder) + name;
  std::ofstream(rules, std::ios::binary) << text;
  const HANDLE file = CreateFileA(rules.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  FILETIME stamp{};
  GetSystemTimeAsFileTime(&stamp);
  ULARGE_INTEGER earlier{{stamp.dwLowDateTime, stamp.dwHighDateTime}};
  earlier.QuadPart -= 3600ull * 10'000'000;
  stamp = {earlier.LowPart, earlier.HighPart};
  SetFileTime(file, nullptr, nullptr, &stamp);
  CloseHandle(file);
  return rules;
}

// This program's file name, as the library names the program of its window.
std::string OwnExeName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const char* name = path;
  for (const char* at = path; *at != '\0'; ++at) {
    if (*at == '\\' || *at == '/') name = at + 1;
  }
  return name;
}

// A window of this program in front, so that the library looks up this program's rules. False
// when it does not come to the front within five seconds.
bool WindowInFront() {
  HWND window = CreateWindowExA(0, "STATIC", "input bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  for (int tries = 0; tries < 100; ++tries) {
    SetForegroundWindow(window);
    Pump();
    if (GetForegroundWindow() == window) return true;
    Sleep(50);
  }
  return false;
}

// The version of the rule file the library's watcher last took in, as its debugger line ends
// ("SIZE bytes, written STAMP"), from the watcher's thread.
CRITICAL_SECTION g_takenLock;
std::string g_taken;

void WINAPI WatchDebugLine(LPCSTR text) {
  static constexpr char kTaken[] = "trellin_192: rule file taken in: ";
  if (text == nullptr || std::strncmp(text, kTaken, sizeof kTaken - 1) != 0) return;
  std::string version(text + sizeof kTaken - 1);
  while (!version.empty() && (version.back() == '\n' || version.back() == '\r')) version.pop_back();
  EnterCriticalSection(&g_takenLock);
  g_taken = std::move(version);
  LeaveCriticalSection(&g_takenLock);
}

// The library's watcher reads the rule file a moment after the start: nothing is measured
// before it has taken this file in (at most 10 s).
void StartLibrary(const BoundLibrary& library, HWND host, const HookSettings& settings,
                  const std::string& rules) {
  EnterCriticalSection(&g_takenLock);
  g_taken.clear();  // each start reads the file again and names it
  LeaveCriticalSection(&g_takenLock);
  library.SetConfigINI(rules.c_str());
  library.UpdateValue(&settings);
  library.StartHook(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(host)));
  library.EnableHookStatue(1);
  const std::string wanted = RuleFileVersion(rules);
  for (int waited = 0; waited < 1000; ++waited) {
    EnterCriticalSection(&g_takenLock);
    const bool taken = g_taken == wanted;
    LeaveCriticalSection(&g_takenLock);
    if (taken) break;
    Sleep(10);
  }
  Pump();
}

void StopLibrary(const BoundLibrary& library) {
  library.StopHook();
  library.EnableHookStatue(0);
}

double MeasureLibrary(const BoundLibrary& library, HWND host, const HookSettings& settings,
                      const std::string& rules) {
  StartLibrary(library, host, settings, rules);
  const double cost = Measure();
  StopLibrary(library);
  return cost;
}

// The virtual key of the next key press that reaches this thread's window in front; 0 when none
// comes within five seconds.
WPARAM NextKeyPress() {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 5000) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_KEYDOWN) return message.wParam;
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  return 0;
}

// Whether the rules of the program in front apply: its first remapping turns 0 into A.
bool ProgramRulesApply(const BoundLibrary& library, HWND host, const HookSettings& settings,
                       const std::string& rules) {
  StartLibrary(library, host, settings, rules);
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = '0';
  input.ki.wScan = 0x0B;
  SendInput(1, &input, sizeof input);
  const bool applies = NextKeyPress() == 'A';
  input.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
  Pump();
  StopLibrary(library);
  return applies;
}

}  // namespace

int main() {
  const std::string rules = WriteRuleFile("tastron-bench.ini", RuleFileForBench());
  const std::string programRules =
      WriteRuleFile("tastron-bench-programs.ini", RuleFileWithProgramsForBench(OwnExeName()));
  const std::string tapHoldRules =
      WriteRuleFile("tastron-bench-tap-hold.ini", RuleFileWithTapHoldForBench());
  BoundLibrary library;
  InitializeCriticalSection(&g_takenLock);
  if (!library.Load("input-bench") ||
      PatchImport(library.module, "kernel32.dll", "OutputDebugStringA",
                  reinterpret_cast<void*>(&WatchDebugLine)) == nullptr) {
    return 1;
  }
  HookSettings everything{};
  for (std::int32_t* field :
       {&everything.Lock_ShiftSpace, &everything.Lock_CtrlSpace, &everything.Lock_UseRCtrl,
        &everything.Lock_CapsLock, &everything.Lock_Insert, &everything.Lock_NumLock,
        &everything.Lock_Win, &everything.Key_NoteBookMode, &everything.Key_KeyChange,
        &everything.Key_MouseMiddleButton, &everything.EnableShiftMemory, &everything.Lock_Monitor,
        &everything.EnableShiftWheel, &everything.EnableCtrlWheel}) {
    *field = 1;
  }
  const HookSettings allOff{};
  HWND host = CreateWindowExA(0, "STATIC", "bench host", 0, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  const char* failure = nullptr;
  if (!WindowInFront()) {
    failure = "its window does not come to the front";
  } else if (!ProgramRulesApply(library, host, everything, programRules)) {
    failure = "the rules of the program in front do not apply";
  }
  if (failure != nullptr) {
    std::fprintf(stderr, "input-bench: %s\n", failure);
    DeleteFileA(rules.c_str());
    DeleteFileA(programRules.c_str());
    DeleteFileA(tapHoldRules.c_str());
    return 1;
  }

  std::vector<double> none, passThrough, switchesOff, trellin, trellinPrograms, trellinTapHold;
  for (int round = 0; round < kRounds; ++round) {
    none.push_back(Measure());
    HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, PassThrough, GetModuleHandleA(nullptr), 0);
    passThrough.push_back(Measure());
    UnhookWindowsHookEx(keyboard);
    switchesOff.push_back(MeasureLibrary(library, host, allOff, rules));
    trellin.push_back(MeasureLibrary(library, host, everything, rules));
    trellinPrograms.push_back(MeasureLibrary(library, host, everything, programRules));
    trellinTapHold.push_back(MeasureLibrary(library, host, everything, tapHoldRules));
  }
  DeleteFileA(rules.c_str());
  DeleteFileA(programRules.c_str());
  DeleteFileA(tapHoldRules.c_str());

  std::printf("SendInput per event, median of %d rounds of %d events (microseconds):\n", kRounds,
              kEvents);
  std::printf("  no hook:                               %8.1f\n", Median(none));
  std::printf("  pass-through low-level hook:           %8.1f\n", Median(passThrough));
  std::printf("  trellin_192, every switch off:         %8.1f\n", Median(switchesOff));
  std::printf("  trellin_192, every feature, 600 rules: %8.1f\n", Median(trellin));
  std::printf("  the same, and 20 programs x 30 rules:  %8.1f\n", Median(trellinPrograms));
  std::printf("  the same, and 20 tap-hold rules:       %8.1f\n", Median(trellinTapHold));
  std::printf("  trellin / pass-through:                %8.2f\n",
              Median(trellin) / Median(passThrough));
  std::printf("  with 20 programs / pass-through:       %8.2f\n",
              Median(trellinPrograms) / Median(passThrough));
  std::printf("  with 20 tap-hold rules / pass-through: %8.2f\n",
              Median(trellinTapHold) / Median(passThrough));
  return 0;
}
