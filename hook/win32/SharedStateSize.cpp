// Never linked into trellin_192.dll: the build compiles it with the library's compiler and
// flags and puts the object beside the library, so that tests/win32/check-dll-layout.py learns
// how large the owner record is that the shared section "KMHook" must hold, and nothing more,
// as this build lays it out.
#include <cstdint>

#include "hook/win32/SharedOwner.h"

extern "C" const std::uint32_t trellin_SharedStateSize = sizeof(SharedOwnerRecord);
