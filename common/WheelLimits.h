#pragma once

#include <cstdint>

// How many sideways-scroll messages one wheel event may post. The count comes from the settings
// block, which holds whatever the user stored; each message is posted from inside the hook call
// and a thread's message queue holds about 10 000, so the library posts at most this many.
// The main window keeps the user's number as it stands: the bound is the library's alone.
inline constexpr std::int32_t kMinSidewaysScrollPerWheel = 1;
inline constexpr std::int32_t kMaxSidewaysScrollPerWheel = 1000;
