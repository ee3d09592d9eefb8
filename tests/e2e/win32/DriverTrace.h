// The scenario driver's trace on standard output, in tastron-sim's format, and the tag that
// tells the driver's own replayed input from the library's.
#pragma once

#include <windows.h>

// Physical input replayed by the driver carries this; whatever does not was injected.
constexpr ULONG_PTR kDriverTag = 0x44525652;

// One trace line.
void Emit(const char* format, ...);

// An event as the system received it.
void TraceKeyboard(WPARAM message, const KBDLLHOOKSTRUCT* event);
void TraceMouse(WPARAM message, const MSLLHOOKSTRUCT* event);
