#include "hook/win32/LibraryThread.h"

HMODULE HoldLibraryForThread() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCSTR>(&HoldLibraryForThread), &self);
  return self;
}

bool StartLibraryThread(LPTHREAD_START_ROUTINE main, void* parameter) {
  const HMODULE self = HoldLibraryForThread();
  const HANDLE thread = CreateThread(nullptr, 0, main, parameter, 0, nullptr);
  if (thread == nullptr) {
    if (self != nullptr) FreeLibrary(self);
    return false;
  }
  CloseHandle(thread);
  return true;
}

void ReleaseLibraryAndExitThread(DWORD exitCode) {
  HMODULE self = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&HoldLibraryForThread), &self);
  FreeLibraryAndExitThread(self, exitCode);
}
