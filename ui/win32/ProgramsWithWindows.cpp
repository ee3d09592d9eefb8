#include "ui/win32/ProgramsWithWindows.h"

#include <windows.h>

#include <dwmapi.h>

#include <string>

#include "common/ProgramNames.h"
#include "common/win32/ProgramOfWindow.h"
#include "common/win32/Win32ProgramNameText.h"
#include "ui/win32/TextConversion.h"

namespace {

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
  // A frame not attached yet is nothing the library would name; a process that cannot be asked
  // is no program to it.
  const ProgramFile file = ProgramFileOfWindow(window);
  if (!file.settled || file.name.empty()) return TRUE;
  const std::string program = WideToUtf8(file.name);
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
