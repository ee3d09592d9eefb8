#include "hook/win32/LibraryThread.h"

HMODULE HoldLibraryForThread() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCSTR>(&HoldLibraryForThread), &self);
  return self;
}

void ReleaseLibraryAndExitThread(DWORD exitCode) {
  HMODULE self = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&HoldLibraryForThread), &self);
  FreeLibraryAndExitThread(self, exitCode);
}
