#pragma once

#include <cstdint>

#include "hook/HookState.h"

// What the library's shared section "KMHook" holds: the identity of the process that owns the
// hooks, and nothing else. Id and start time sit in one aligned 64-bit word, so that one
// interlocked compare-exchange claims or gives up the hooks, on the 32-bit build too.
struct alignas(8) SharedOwnerRecord {
  std::uint32_t started = 0;  // the low half of the word
  std::uint32_t id = 0;
};
static_assert(sizeof(SharedOwnerRecord) == 8);

// HookPlatform::ExchangeSharedOwner on the section. The start time must fit 32 bits.
ProcessIdentity ExchangeSharedOwner(const ProcessIdentity& expected,
                                    const ProcessIdentity& desired);
