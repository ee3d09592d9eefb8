// What the engine asks about windows: whether one lives, the focus, the one under the cursor,
// class names, children, the one in front and the program it belongs to.
#include "hook/win32/Win32HookPlatform.h"

#include <string>

#include "hook/win32/WindowHandleCasts.h"

bool Win32HookPlatform::IsWindow(WindowHandle window) {
  return window != 0 && ::IsWindow(ToWindow(window)) != FALSE;
}

WindowHandle Win32HookPlatform::FocusWindow() {
  return FromWindow(GetFocus());
}

WindowHandle Win32HookPlatform::WindowUnderCursor() {
  POINT point{};
  if (!GetCursorPos(&point)) return 0;
  return FromWindow(WindowFromPoint(point));
}

std::string Win32HookPlatform::ClassName(WindowHandle window) {
  char name[MAX_PATH] = {};
  const int length = GetClassNameA(ToWindow(window), name, MAX_PATH);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

WindowHandle Win32HookPlatform::FindChildWindow(WindowHandle parent, WindowHandle after,
                                                const char* className) {
  return FromWindow(FindWindowExA(ToWindow(parent), ToWindow(after), className, nullptr));
}

bool Win32HookPlatform::IsWindowVisible(WindowHandle window) {
  return ::IsWindowVisible(ToWindow(window)) != FALSE;
}

WindowHandle Win32HookPlatform::ForegroundWindow() {
  return FromWindow(GetForegroundWindow());
}

namespace {

// The executable file name of a process, without its folder, as the file system has it: in
// UTF-16, which holds every name on every code page (a conversion to the ANSI code page here
// would lose names, and fail outright under UTF-8 as the code page). Empty when the process
// cannot be asked.
std::u16string ExeNameOfProcess(DWORD processId) {
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
  return std::u16string(reinterpret_cast<const char16_t*>(name));
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

HookPlatform::WindowProgram Win32HookPlatform::ProgramOfWindow(WindowHandle handle) {
  const HWND window = ToWindow(handle);
  DWORD process = 0;
  if (GetWindowThreadProcessId(window, &process) == 0) return {{}, true};
  std::u16string name = ExeNameOfProcess(process);
  // A store app's window is a child of the frame host's, owned by the app's own process; until
  // it attaches, the frame host is all there is, and the answer is asked again.
  if (_wcsicmp(reinterpret_cast<const wchar_t*>(name.c_str()), L"ApplicationFrameHost.exe") == 0) {
    AppOfFrame search{process};
    EnumChildWindows(window, FindAppOfFrame, reinterpret_cast<LPARAM>(&search));
    if (search.appProcess == 0) return {std::move(name), false};
    return {ExeNameOfProcess(search.appProcess), true};
  }
  return {std::move(name), true};
}

HookPlatform::DragDistance Win32HookPlatform::DragThreshold() {
  return {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)};
}
