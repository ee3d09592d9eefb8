#include "hook/win32/SharedOwner.h"

#include <windows.h>

// Every process that maps this file of the library sees the same record; any of them may write
// anything into it, so it is read only as a word to compare with, never trusted further.
__attribute__((section("KMHook"), shared)) SharedOwnerRecord g_sharedOwner;

namespace {

LONG64 Pack(const ProcessIdentity& identity) {
  return static_cast<LONG64>((static_cast<std::uint64_t>(identity.id) << 32) |
                             static_cast<std::uint32_t>(identity.started));
}

ProcessIdentity Unpack(LONG64 word) {
  const auto bits = static_cast<std::uint64_t>(word);
  return {static_cast<std::uint32_t>(bits >> 32), static_cast<std::uint32_t>(bits)};
}

}  // namespace

ProcessIdentity ExchangeSharedOwner(const ProcessIdentity& expected,
                                    const ProcessIdentity& desired) {
  auto* word = reinterpret_cast<volatile LONG64*>(&g_sharedOwner);
  return Unpack(InterlockedCompareExchange64(word, Pack(desired), Pack(expected)));
}
