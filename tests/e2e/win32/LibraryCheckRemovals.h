// Hooks of the library's removed from outside, and whether the watchdog put them back by the
// tick it had to.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

// Removes the library's last `count` hooks.
void RemoveLibraryHooks(std::size_t count);

// The moment hooks went (their last call came no later), with the watchdog's ticks and the
// library's reinstallations counted so far.
struct Removal {
  DWORD at;
  std::size_t ticks;
  std::size_t reinstalls;
};

Removal NoteRemoval();

// Input that hooks miss tells the library they are gone only when its time is later than their
// last call; the tick count may move in steps of several milliseconds.
void PassRemovalTick(const Removal& removal);

// The watchdog's tick (1 for the first after the removal) by which hooks gone at `removal` must
// be back, once input they missed came before `missedAt`: the first tick that finds both that
// input and a quarter second of silence. 0 while that tick has not come.
std::size_t DueTick(const Removal& removal, DWORD missedAt);

// Waits, doing `meanwhile` every 50 ms, until the library says it installed its hooks again or
// their due tick has passed without it (at most 10 s, should the watchdog never tick). Whether
// the hooks were back by that tick, in the library's own words.
bool BackByDueTick(const Removal& removal, DWORD missedAt, const std::function<void()>& meanwhile);

// Waits until the watchdog has ticked `count` times more (at most 30 s).
bool PumpTicks(std::size_t count);
