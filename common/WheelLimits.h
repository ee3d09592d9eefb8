#pragma once

#include <cstdint>

// How many sideways-scroll messages one wheel event may post. The count comes from the settings
// block, which anyone can edit in the registry; each message is posted from inside the hook call
// and a thread's message queue holds about 10 000, so the library posts at most this many
// whatever the block says, and the main window keeps the number it offers within the same range.
inline constexpr std::int32_t kMinSidewaysScrollPerWheel = 1;
inline constexpr std::int32_t kMaxSidewaysScrollPerWheel = 100;
