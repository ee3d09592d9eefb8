#pragma once

#include <cstdint>

// Handles as the portable code stores them; the Windows build keeps real HWND/HHOOK values in
// them.
using WindowHandle = std::uintptr_t;
using HookHandle = std::uintptr_t;
