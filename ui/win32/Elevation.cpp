#include "ui/win32/Elevation.h"

#include <shellapi.h>

#include "common/win32/ProcessElevation.h"

namespace elevation {

bool ProcessIsElevated() {
  return TokenIsElevated(GetCurrentProcess()).value_or(false);
}

bool StartWithRunAs(HWND owner, const std::wstring& file, const std::wstring& parameters) {
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof start;
  // Done before returning (no thread of the shell's left behind), no error box of the shell's.
  start.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  start.hwnd = owner;
  start.lpVerb = L"runas";
  start.lpFile = file.c_str();
  start.lpParameters = parameters.c_str();
  start.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&start) != FALSE;
}

}  // namespace elevation
