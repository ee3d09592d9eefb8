#pragma once

#include <cstdint>

#include "hook/HookPlatform.h"

// The whole text of a profile (INI) file as the profile functions read it: in the ANSI code
// page. A file saved as UTF-16 or UTF-8 with a byte-order mark (an editor's "Unicode" save) is
// converted to it; any other file is taken byte for byte. A file of more than `largest` bytes
// is not read.
HookPlatform::RuleFileRead ReadProfileText(const char* file, std::uint64_t largest);
