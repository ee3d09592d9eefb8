// input-bench.exe: what one input event costs under Wine, in one run: SendInput with no hook,
// with a pass-through low-level hook, and with trellin_192 running every feature against a
// 600-entry rule file. Every event is a press or release of a key without any rule (Z), so it
// passes all the library's steps, rule look-ups included.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "hook/win32/TrellinExports.h"
#include "tests/bench/RuleFileForBench.h"

namespace {

constexpr int kEvents = 4000;

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

}  // namespace

int main() {
  const double none = Measure();

  HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, PassThrough, GetModuleHandleA(nullptr), 0);
  const double passThrough = Measure();
  UnhookWindowsHookEx(keyboard);

  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string rules = std::string(folder) + "tastron-bench.ini";
  std::ofstream(rules, std::ios::binary) << RuleFileForBench();
  // A file written just now is read again at every event until its time stamp is safely in the
  // past; the benchmark measures the steady state.
  const HANDLE file = CreateFileA(rules.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  FILETIME stamp{};
  GetSystemTimeAsFileTime(&stamp);
  ULARGE_INTEGER earlier{{stamp.dwLowDateTime, stamp.dwHighDateTime}};
  earlier.QuadPart -= 3600ull * 10'000'000;
  stamp = {earlier.LowPart, earlier.HighPart};
  SetFileTime(file, nullptr, nullptr, &stamp);
  CloseHandle(file);
  HMODULE library = LoadLibraryA("trellin_192.dll");
  if (library == nullptr) {
    std::fprintf(stderr, "input-bench: cannot load trellin_192.dll\n");
    return 1;
  }
  auto bind = [&](const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(library, name));
  };
  auto startHook = reinterpret_cast<StartHookFunction>(bind("StartHook"));
  auto stopHook = reinterpret_cast<StopHookFunction>(bind("StopHook"));
  auto setConfig = reinterpret_cast<SetConfigINIFunction>(bind("SetConfigINI"));
  auto enable = reinterpret_cast<EnableHookStatueFunction>(bind("EnableHookStatue"));
  auto update = reinterpret_cast<UpdateValueFunction>(bind("UpdateValue"));
  HookSettings settings{};
  for (std::int32_t* field :
       {&settings.Lock_ShiftSpace, &settings.Lock_CtrlSpace, &settings.Lock_UseRCtrl,
        &settings.Lock_CapsLock, &settings.Lock_Insert, &settings.Lock_NumLock, &settings.Lock_Win,
        &settings.Key_NoteBookMode, &settings.Key_KeyChange, &settings.Key_MouseMiddleButton,
        &settings.EnableShiftMemory, &settings.Lock_Monitor, &settings.EnableShiftWheel,
        &settings.EnableCtrlWheel}) {
    *field = 1;
  }
  HWND host = CreateWindowExA(0, "STATIC", "bench host", 0, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  setConfig(rules.c_str());
  update(&settings);
  startHook(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(host)));
  enable(1);
  const double trellin = Measure();
  stopHook();
  enable(0);
  DeleteFileA(rules.c_str());

  std::printf("SendInput per event, %d events each (microseconds):\n", kEvents);
  std::printf("  no hook:                               %8.1f\n", none);
  std::printf("  pass-through low-level hook:           %8.1f\n", passThrough);
  std::printf("  trellin_192, every feature, 600 rules: %8.1f\n", trellin);
  std::printf("  trellin / pass-through:                %8.2f\n", trellin / passThrough);
  return 0;
}
