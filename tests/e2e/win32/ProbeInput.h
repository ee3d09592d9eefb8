// Input as a keyboard and a mouse give it, through SendInput.
#pragma once

#include <windows.h>

#include <vector>

// A key going down or up, with the scan code of this keyboard's key.
INPUT KeyEvent(WORD key, bool up);
// Each key pressed and released.
void PressKeys(const std::vector<WORD>& keys);
// One key pressed and released with this scan code.
void PressKey(WORD key, WORD scanCode);
// The keys pressed in order and released backwards.
void PressChord(const std::vector<WORD>& keys);
// The virtual keys (hexadecimal) from argv[first] on.
std::vector<WORD> VirtualKeys(int argc, const char* const* argv, int first);

// A click into the middle of `control`, with `window` brought to the front first; whether the
// control then has its thread's focus (within 10 s).
bool ClickInto(HWND window, HWND control);
// The pointer moved to `point`, then `clicks` left clicks there.
void ClickAtPoint(POINT point, int clicks);
