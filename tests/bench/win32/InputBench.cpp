// input-bench.exe: what one input event costs under Wine, in one run: SendInput with no hook,
// with a pass-through low-level hook, and with trellin_192 (every switch off; every feature
// against a 600-entry rule file). Every event is a press or release of a key without any rule
// (Z), so it passes all the library's steps, rule look-ups included. A Wine hook call's cost
// swings with the scheduler, so the four are measured in turn, several rounds, and each is
// given as its median.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/bench/RuleFileForBench.h"
#include "tests/e2e/win32/BoundLibrary.h"

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

// The rule file, with a time stamp safely in the past: a file written just now is read again
// at every event until no second write could share its stamp, and this measures the steady
// state.
std::string WriteRuleFile() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string rules = std::string(folder) + "tastron-bench.ini";
  std::ofstream(rules, std::ios::binary) << RuleFileForBench();
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

double MeasureLibrary(const BoundLibrary& library, HWND host, const HookSettings& settings) {
  library.UpdateValue(&settings);
  library.StartHook(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(host)));
  library.EnableHookStatue(1);
  const double cost = Measure();
  library.StopHook();
  library.EnableHookStatue(0);
  return cost;
}

}  // namespace

int main() {
  const std::string rules = WriteRuleFile();
  BoundLibrary library;
  if (!library.Load("input-bench")) return 1;
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
  library.SetConfigINI(rules.c_str());

  std::vector<double> none, passThrough, switchesOff, trellin;
  for (int round = 0; round < kRounds; ++round) {
    none.push_back(Measure());
    HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, PassThrough, GetModuleHandleA(nullptr), 0);
    passThrough.push_back(Measure());
    UnhookWindowsHookEx(keyboard);
    switchesOff.push_back(MeasureLibrary(library, host, allOff));
    trellin.push_back(MeasureLibrary(library, host, everything));
  }
  DeleteFileA(rules.c_str());

  std::printf("SendInput per event, median of %d rounds of %d events (microseconds):\n", kRounds,
              kEvents);
  std::printf("  no hook:                               %8.1f\n", Median(none));
  std::printf("  pass-through low-level hook:           %8.1f\n", Median(passThrough));
  std::printf("  trellin_192, every switch off:         %8.1f\n", Median(switchesOff));
  std::printf("  trellin_192, every feature, 600 rules: %8.1f\n", Median(trellin));
  std::printf("  trellin / pass-through:                %8.2f\n",
              Median(trellin) / Median(passThrough));
  return 0;
}
