// The library's hooks removed behind its back, and the watchdog's ticks that must bring them
// back.
#include "tests/e2e/win32/LibraryCheckRemovals.h"

#include <cstdio>
#include <vector>

#include "hook/HookEngine.h"
#include "tests/e2e/win32/CheckInput.h"
#include "tests/e2e/win32/LibraryCheckKeys.h"
#include "tests/e2e/win32/LibraryCheckWatches.h"

void RemoveLibraryHooks(std::size_t count) {
  for (HHOOK hook : std::vector<HHOOK>(g_libraryHooks.end() - static_cast<std::ptrdiff_t>(count),
                                       g_libraryHooks.end())) {
    if (g_realUnhook(hook)) --g_libraryHooksInPlace;
  }
}

Removal NoteRemoval() {
  return {GetTickCount(), g_tickTimes.size(), g_reinstallTicks.size()};
}

void PassRemovalTick(const Removal& removal) {
  PumpUntil([&] { return GetTickCount() != removal.at; }, 1000);
}

std::size_t DueTick(const Removal& removal, DWORD missedAt) {
  const DWORD silentEnough = removal.at + kSilentHooksMs;
  const DWORD due = static_cast<LONG>(missedAt - silentEnough) > 0 ? missedAt : silentEnough;
  for (std::size_t tick = removal.ticks; tick < g_tickTimes.size(); ++tick) {
    if (static_cast<LONG>(g_tickTimes[tick] - due) >= 0) return tick + 1 - removal.ticks;
  }
  return 0;
}

bool BackByDueTick(const Removal& removal, DWORD missedAt, const std::function<void()>& meanwhile) {
  const DWORD start = GetTickCount();
  while (g_reinstallTicks.size() == removal.reinstalls && DueTick(removal, missedAt) == 0 &&
         GetTickCount() - start < 10000) {
    meanwhile();
    Pump(50);
  }
  const std::size_t due = DueTick(removal, missedAt);
  if (g_reinstallTicks.size() == removal.reinstalls) {
    // How late they are, for whoever looks into it.
    PumpUntil([&] { return g_reinstallTicks.size() > removal.reinstalls; }, 5000);
    const bool late = g_reinstallTicks.size() > removal.reinstalls;
    std::printf("     (not back by watchdog tick %u; %s %u)\n", static_cast<unsigned>(due),
                late ? "back at tick" : "not back either at tick",
                static_cast<unsigned>(late ? g_reinstallTicks[removal.reinstalls] - removal.ticks
                                           : g_tickTimes.size() - removal.ticks));
    return false;
  }
  const std::size_t back = g_reinstallTicks[removal.reinstalls] - removal.ticks;
  std::printf("     (back at watchdog tick %u after the removal; due by tick %u)\n",
              static_cast<unsigned>(back), static_cast<unsigned>(due));
  return due == 0 || back <= due;
}

bool PumpTicks(std::size_t count) {
  const std::size_t until = g_tickTimes.size() + count;
  return PumpUntil([&] { return g_tickTimes.size() >= until; }, 30000);
}
