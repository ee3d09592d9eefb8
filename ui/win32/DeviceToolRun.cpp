#include "ui/win32/DeviceToolRun.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "common/win32/DeviceToolTurn.h"
#include "ui/win32/TextConversion.h"

namespace {

struct Run {
  std::string tool;
  std::string parameters;
  std::function<void(bool succeeded)> ended;
};

void RunNow(const Run& run) {
  const DeviceToolTurn turn;
  const std::wstring tool = Utf8ToWide(run.tool);
  const std::wstring parameters = Utf8ToWide(run.parameters);
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof start;
  start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  start.lpVerb = L"open";
  start.lpFile = tool.c_str();
  start.lpParameters = parameters.c_str();
  start.nShow = SW_HIDE;
  DWORD exitCode = STILL_ACTIVE;
  if (ShellExecuteExW(&start) && start.hProcess != nullptr) {
    if (WaitForSingleObject(start.hProcess, DeviceToolTurn::kLongestRunMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(start.hProcess, &exitCode);
    }
    CloseHandle(start.hProcess);
  }
  run.ended(exitCode == 0);
}

DWORD WINAPI RunThread(void* parameter) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  Run* run = static_cast<Run*>(parameter);
  RunNow(*run);
  delete run;
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

}  // namespace

void RunDeviceToolInTurn(const std::string& tool, const std::string& parameters,
                         std::function<void(bool succeeded)> ended) {
  Run* run = new Run{tool, parameters, std::move(ended)};
  const HANDLE thread = CreateThread(nullptr, 0, RunThread, run, 0, nullptr);
  if (thread != nullptr) {
    CloseHandle(thread);
    return;
  }
  // No thread to do it: doing it here, late, beats leaving the mouse off.
  RunNow(*run);
  delete run;
}
