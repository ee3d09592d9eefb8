// exports-check.exe: the six exports of the real trellin_192.dll called as a host calls them,
// through __stdcall pointers bound by their plain names. On 32-bit Windows that convention is
// the callee's to keep: each export must take its arguments off the stack itself, or the host's
// stack pointer drifts by their size on every call. (64-bit Windows has one convention only.)
// Prints one line per export; exit status 0 when all passed.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/HookSettings.h"
#include "tests/e2e/win32/BoundLibrary.h"

namespace {

int g_failures = 0;

std::uintptr_t StackPointer() {
  std::uintptr_t pointer = 0;
#if defined(__i386__)
  asm volatile("movl %%esp, %0" : "=r"(pointer));
#endif
  return pointer;
}

// Calls the export and reports whether the stack pointer came back where it was.
template <typename Function, typename... Arguments>
void CheckCall(const char* name, Function function, Arguments... arguments) {
  const std::uintptr_t before = StackPointer();
  function(arguments...);
  const std::uintptr_t after = StackPointer();
  const bool kept = before == after;
  std::printf("%s %s keeps the caller's stack", kept ? "ok  " : "FAIL", name);
  if (!kept) std::printf(" (moved by %ld bytes)", static_cast<long>(after - before));
  std::printf("\n");
  if (!kept) ++g_failures;
}

}  // namespace

int main(int, char** argv) {
  BoundLibrary library;
  if (!library.Load(argv[0])) return 1;
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string rules = std::string(folder) + "exports-check.ini";
  const HWND host = CreateWindowA("STATIC", "exports-check", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
  HookSettings settings{};
  settings.CtrlWheelUnit = 5000;

  CheckCall("SetConfigINI", library.SetConfigINI, rules.c_str());
  CheckCall("SetDevconPath", library.SetDevconPath, "C:\\Tastron\\dc64.exe");
  CheckCall("UpdateValue", library.UpdateValue, &settings);
  CheckCall("StartHook", library.StartHook,
            static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(host)));
  CheckCall("EnableHookStatue", library.EnableHookStatue, 1);
  CheckCall("StopHook", library.StopHook);
  library.EnableHookStatue(0);
  DestroyWindow(host);
  DeleteFileA(rules.c_str());
  std::printf("%s build: %s\n", sizeof(void*) == 4 ? "32-bit" : "64-bit",
              g_failures == 0 ? "every export called as a host calls it" : "exports failed");
  return g_failures == 0 ? 0 : 1;
}
