// The device tool's runs by the scenario's clock, and what its worker did, shown once the clock
// says a run has started or ended.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The simulated desktop's clock: the sum of the script's waits so far.
extern ULONGLONG g_clockMs;

// What the device tool's worker did, in its order: effects, and where each run started and
// ended. A run's note that comes before its start was written before the run; what comes
// between its start and its end, once it had ended.
struct ToolEffects {
  enum class Kind { Effect, RunStarted, RunEnded };
  struct Entry {
    Kind kind;
    std::string line;
  };
  CRITICAL_SECTION lock;
  std::vector<Entry> entries;
  ToolEffects() { InitializeCriticalSection(&lock); }
  void Add(Kind kind, std::string line = {}) {
    EnterCriticalSection(&lock);
    entries.push_back({kind, std::move(line)});
    LeaveCriticalSection(&lock);
  }
};
extern ToolEffects g_toolEffects;

// A run asked for now.
void NoteToolRunAsked();

// How long the stand-in tool is told to take (its "delay" file; none: at once).
void ReadToolDuration();

// Shows the worker's effects of every run that has started or ended by the clock.
class DeviceToolTrace {
 public:
  void EmitDue();

 private:
  // The device tool's effects shown so far: of every run before `runsShown_`, and of the next
  // one those before its start when `runStartShown_`; `effectsShown_` counts the entries passed.
  std::size_t runsShown_ = 0;
  bool runStartShown_ = false;
  std::size_t effectsShown_ = 0;
  // Shows the effects before the next mark of the worker, once it has come (at most until
  // `deadline`), and passes the mark; false when it has not come.
  bool ShowUpToMark(ULONGLONG deadline);
};
