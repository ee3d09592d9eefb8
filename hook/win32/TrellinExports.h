#pragma once

#include <cstdint>

#include "common/HookSettings.h"

// The six exports of trellin_192.dll, bound by name by the main program. The host window
// handle travels as a 32-bit integer (window handles keep their value in 32 bits).
#define TRELLIN_API __stdcall

extern "C" {
std::int32_t TRELLIN_API StartHook(std::int32_t hostWindow);
std::int32_t TRELLIN_API StopHook();
void TRELLIN_API SetConfigINI(const char* path);
void TRELLIN_API SetDevconPath(const char* path);
void TRELLIN_API EnableHookStatue(std::int32_t enabled);
void TRELLIN_API UpdateValue(const HookSettings* settings);
}

using StartHookFunction = std::int32_t(TRELLIN_API*)(std::int32_t);
using StopHookFunction = std::int32_t(TRELLIN_API*)();
using SetConfigINIFunction = void(TRELLIN_API*)(const char*);
using SetDevconPathFunction = void(TRELLIN_API*)(const char*);
using EnableHookStatueFunction = void(TRELLIN_API*)(std::int32_t);
using UpdateValueFunction = void(TRELLIN_API*)(const HookSettings*);
