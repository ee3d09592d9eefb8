#pragma once

#include <cstdint>

#include "common/HookSettings.h"

// The six exports of trellin_192.dll, as the main program binds them by name. The host window
// handle travels as a 32-bit integer (window handles keep their value in 32 bits).
#if defined(_WIN32)
#define TRELLIN_API __stdcall
#else
#define TRELLIN_API
#endif

using StartHookFunction = std::int32_t(TRELLIN_API*)(std::int32_t);
using StopHookFunction = std::int32_t(TRELLIN_API*)();
using SetConfigINIFunction = void(TRELLIN_API*)(const char*);
using SetDevconPathFunction = void(TRELLIN_API*)(const char*);
using EnableHookStatueFunction = void(TRELLIN_API*)(std::int32_t);
using UpdateValueFunction = void(TRELLIN_API*)(const HookSettings*);
