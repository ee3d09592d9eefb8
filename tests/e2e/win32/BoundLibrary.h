#pragma once

#include <windows.h>

#include <cstdio>

#include "hook/win32/TrellinExports.h"

// trellin_192.dll loaded by name with its six exports bound, as a host binds them; for the test
// programs that act as its host.
struct BoundLibrary {
  HMODULE module = nullptr;
  StartHookFunction StartHook = nullptr;
  StopHookFunction StopHook = nullptr;
  SetConfigINIFunction SetConfigINI = nullptr;
  SetDevconPathFunction SetDevconPath = nullptr;
  EnableHookStatueFunction EnableHookStatue = nullptr;
  UpdateValueFunction UpdateValue = nullptr;

  // False, with what failed on standard error behind `program`, when it cannot be loaded or an
  // export is missing.
  bool Load(const char* program) {
    module = LoadLibraryA("trellin_192.dll");
    if (module == nullptr) {
      std::fprintf(stderr, "%s: cannot load trellin_192.dll (error %lu)\n", program,
                   GetLastError());
      return false;
    }
    return Bind(program, "StartHook", StartHook) && Bind(program, "StopHook", StopHook) &&
           Bind(program, "SetConfigINI", SetConfigINI) &&
           Bind(program, "SetDevconPath", SetDevconPath) &&
           Bind(program, "EnableHookStatue", EnableHookStatue) &&
           Bind(program, "UpdateValue", UpdateValue);
  }

 private:
  template <typename Function>
  bool Bind(const char* program, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (function == nullptr) std::fprintf(stderr, "%s: export %s is missing\n", program, name);
    return function != nullptr;
  }
};
