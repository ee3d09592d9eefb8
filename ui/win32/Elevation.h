#pragma once

#include <windows.h>

#include <string>

// The process's rights and a start of a program with the administrator's rights.
namespace elevation {

// Whether this process's token is elevated (TokenElevation): false where the question cannot be
// asked, as on Windows before Vista, where a program has what its user has.
bool ProcessIsElevated();
// ShellExecuteEx with verb "runas". The consent prompt is Windows' own, so a refusal
// (ERROR_CANCELLED) shows no error box of the shell's: the caller says what happened.
bool StartWithRunAs(HWND owner, const std::wstring& file, const std::wstring& parameters);

}  // namespace elevation
