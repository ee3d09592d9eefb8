#include "common/win32/ProgramOfWindow.h"

namespace {

std::wstring FileNameOfProcess(DWORD processId) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return {};
  wchar_t path[MAX_PATH * 4] = {};
  DWORD length = MAX_PATH * 4;
  const BOOL found = QueryFullProcessImageNameW(process, 0, path, &length);
  CloseHandle(process);
  if (!found || length == 0) return {};
  const wchar_t* name = path;
  for (const wchar_t* at = path; *at != L'\0'; ++at) {
    if (*at == L'\\' || *at == L'/') name = at + 1;
  }
  return name;
}

struct AppOfFrame {
  DWORD frameProcess;
  DWORD appProcess = 0;
};

BOOL CALLBACK FindAppOfFrame(HWND child, LPARAM parameter) {
  auto& search = *reinterpret_cast<AppOfFrame*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(child, &process);
  if (process == 0 || process == search.frameProcess) return TRUE;
  search.appProcess = process;
  return FALSE;
}

}  // namespace

ProgramFile ProgramFileOfWindow(HWND window) {
  DWORD process = 0;
  if (GetWindowThreadProcessId(window, &process) == 0) return {};
  std::wstring name = FileNameOfProcess(process);
  if (_wcsicmp(name.c_str(), L"ApplicationFrameHost.exe") == 0) {
    AppOfFrame search{process};
    EnumChildWindows(window, FindAppOfFrame, reinterpret_cast<LPARAM>(&search));
    if (search.appProcess == 0) return {std::move(name), false};
    return {FileNameOfProcess(search.appProcess), true};
  }
  return {std::move(name), true};
}
