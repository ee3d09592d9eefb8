#include "ui/win32/Elevation.h"

#include <shellapi.h>

namespace elevation {

bool ProcessIsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const bool asked =
      GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != FALSE;
  CloseHandle(token);
  return asked && elevation.TokenIsElevated != 0;
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
