// Other programs' windows for the probe: found by title, their texts read, their buttons pressed.
#pragma once

#include <windows.h>

#include <string>

std::wstring Title(HWND window);
std::wstring ControlText(HWND control);

// The top-level window whose title starts with `text` (is `text` when `exact`, or when `text`
// starts with "="), a dialog's alone when `dialogOnly`; looked for again for up to `waitMs`.
HWND Find(const char* text, bool exact, bool dialogOnly, int waitMs);

// A button press as the dialog sees it, whether or not its window is active.
void Press(HWND dialog, HWND button);
