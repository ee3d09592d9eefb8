#pragma once

#include <cstdint>

#include "common/HookExports.h"

extern "C" {
std::int32_t TRELLIN_API StartHook(std::int32_t hostWindow);
std::int32_t TRELLIN_API StopHook();
void TRELLIN_API SetConfigINI(const char* path);
void TRELLIN_API SetDevconPath(const char* path);
void TRELLIN_API EnableHookStatue(std::int32_t enabled);
void TRELLIN_API UpdateValue(const HookSettings* settings);
}
