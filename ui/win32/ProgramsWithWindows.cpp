#include "ui/win32/ProgramsWithWindows.h"

#include <windows.h>

#include <dwmapi.h>

#include <string>

#include "common/ProgramNames.h"
#include "common/win32/Win32ProgramNameText.h"
#include "ui/win32/TextConversion.h"

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

// A store app's frame belongs to the frame host; the app's own window is a child of another
// process, and the hook library names the program in front by that one.
BOOL CALLBACK FindAppOfFrame(HWND child, LPARAM parameter) {
  auto& found = *reinterpret_cast<std::pair<DWORD, DWORD>*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(child, &process);
  if (process == 0 || process == found.first) return TRUE;
  found.second = process;
  return FALSE;
}

// A window the user sees as a program's: visible, not cloaked (a suspended store app, another
// virtual desktop), unowned, no tool window, with a title.
bool IsProgramWindow(HWND window) {
  if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr) return false;
  if ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) return false;
  DWORD cloaked = 0;
  if (SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) &&
      cloaked != 0) {
    return false;
  }
  return GetWindowTextLengthW(window) > 0;
}

struct Search {
  DWORD self;
  std::vector<RunningProgram> programs;
};

// Windows come in their order from the top, so each program's first window is its frontmost.
BOOL CALLBACK TakeWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == 0 || process == search.self || !IsProgramWindow(window)) return TRUE;
  std::wstring name = FileNameOfProcess(process);
  if (_wcsicmp(name.c_str(), L"ApplicationFrameHost.exe") == 0) {
    std::pair<DWORD, DWORD> app{process, 0};
    EnumChildWindows(window, FindAppOfFrame, reinterpret_cast<LPARAM>(&app));
    if (app.second == 0) return TRUE;  // not attached yet: nothing the library would name
    name = FileNameOfProcess(app.second);
  }
  if (name.empty()) return TRUE;  // a process that cannot be asked is no program to the library
  const std::string program = WideToUtf8(name);
  for (const RunningProgram& seen : search.programs) {
    if (SameProgramName(Win32ProgramNameText(), seen.program, program)) return TRUE;
  }
  std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  title.resize(static_cast<std::size_t>(
      GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
  search.programs.push_back({program, WideToUtf8(title)});
  return TRUE;
}

}  // namespace

std::vector<RunningProgram> ProgramsWithWindows() {
  Search search{GetCurrentProcessId(), {}};
  EnumWindows(TakeWindow, reinterpret_cast<LPARAM>(&search));
  return std::move(search.programs);
}
