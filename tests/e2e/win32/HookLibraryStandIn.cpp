// A stand-in trellin_192.dll for the host's tests: it logs every call it receives, with its
// arguments, to calls.log beside itself, and answers as the real library does when all goes
// well.
#include <windows.h>

#include <cstdio>
#include <string>

#include "hook/win32/TrellinExports.h"

namespace {

HINSTANCE g_module = nullptr;
bool g_started = false;

void Log(const char* format, ...) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(g_module, path, MAX_PATH);
  std::string file(path);
  file.resize(file.rfind('\\') + 1);
  file += "calls.log";
  if (FILE* log = std::fopen(file.c_str(), "a")) {
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(log, format, arguments);
    va_end(arguments);
    std::fputc('\n', log);
    std::fclose(log);
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

std::int32_t TRELLIN_API StartHook(std::int32_t hostWindow) {
  Log("StartHook %s", IsWindow(reinterpret_cast<HWND>(static_cast<LONG_PTR>(hostWindow)))
                          ? "window"
                          : "not-a-window");
  if (g_started) return 0;
  g_started = true;
  return 1;
}

std::int32_t TRELLIN_API StopHook() {
  Log("StopHook");
  const bool wasStarted = g_started;
  g_started = false;
  return wasStarted ? 1 : 0;
}

void TRELLIN_API SetConfigINI(const char* path) {
  Log("SetConfigINI %s", path);
}
void TRELLIN_API SetDevconPath(const char* path) {
  Log("SetDevconPath %s", path);
}
void TRELLIN_API EnableHookStatue(std::int32_t enabled) {
  Log("EnableHookStatue %d", enabled);
}
// The whole block, its 21 fields in order.
void TRELLIN_API UpdateValue(const HookSettings* settings) {
  const auto* fields = reinterpret_cast<const std::int32_t*>(settings);
  std::string text = "UpdateValue";
  for (int i = 0; i < 21; ++i) text += " " + std::to_string(fields[i]);
  Log("%s", text.c_str());
}
