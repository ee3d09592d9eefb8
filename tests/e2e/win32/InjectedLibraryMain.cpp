// The entry of the libraries ui-probe loads into another process: the work is done while the
// library loads, and DllMain returns FALSE so that it does not stay.
#include <windows.h>

#include "InjectedRequest.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    AnswerInjectedRequest();
    return FALSE;
  }
  return TRUE;
}
