#pragma once

#include <windows.h>

// The dialogs' background and text colours, set once at start-up; the dialog host paints with
// them.
void SetDialogColours(COLORREF background, COLORREF text);
// For WM_CTLCOLORDLG / WM_CTLCOLORSTATIC / WM_CTLCOLORBTN: sets the device context's colours
// and returns the background brush, or nullptr when no colours were set.
HBRUSH ApplyDialogColours(HDC context);
