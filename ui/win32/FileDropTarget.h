#pragma once

#include <windows.h>

#include <string>

// A button that takes files dropped from the shell and no mouse or keyboard input: after a
// drop it keeps the first file and clicks itself (BM_CLICK, so its dialog gets BN_CLICKED).
void MakeFileDropTarget(HWND button);
// The first file of the button's last drop, UTF-8, forgotten once taken; empty when no drop
// came since.
std::string TakeDroppedFile(HWND button);
