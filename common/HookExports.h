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

// EnableHookStatue's arguments. 0 pauses and 1 runs, around each rule editor. 2 and 3 pause and
// resume as the pause hotkey does (the tray's "일시 정지" / "다시 시작"): that pause outlasts an
// editor's 0 and 1, and only 3 or the pause hotkey ends it (or the end of Tastron).
namespace hook_enable {
inline constexpr std::int32_t kPause = 0;
inline constexpr std::int32_t kRun = 1;
inline constexpr std::int32_t kUserPause = 2;
inline constexpr std::int32_t kUserResume = 3;
}  // namespace hook_enable
using UpdateValueFunction = void(TRELLIN_API*)(const HookSettings*);
