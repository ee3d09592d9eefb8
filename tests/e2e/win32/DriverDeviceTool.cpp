// The device tool's runs by the scenario's clock, and the worker's effects shown in their place
// among the script's lines, as tastron-sim shows them.
#include "tests/e2e/win32/DriverDeviceTool.h"

#include <algorithm>
#include <cstdio>

#include "tests/e2e/win32/DriverTrace.h"

ULONGLONG g_clockMs = 0;
ToolEffects g_toolEffects;

namespace {

constexpr const char* kDeviceToolDelay = "C:\\Tastron\\delay";

// When each run asked for starts and ends by the clock: after the run before it, taking as long
// as the stand-in tool is told to (its "delay" file).
struct ToolRunTimes {
  ULONGLONG start;
  ULONGLONG end;
};
std::vector<ToolRunTimes> g_toolRuns;
ULONGLONG g_toolDurationMs = 0;

}  // namespace

void NoteToolRunAsked() {
  const ULONGLONG start =
      g_toolRuns.empty() ? g_clockMs : std::max(g_clockMs, g_toolRuns.back().end);
  g_toolRuns.push_back({start, start + g_toolDurationMs});
}

void ReadToolDuration() {
  if (FILE* delay = std::fopen(kDeviceToolDelay, "r")) {
    unsigned long milliseconds = 0;
    if (std::fscanf(delay, "%lu", &milliseconds) == 1) g_toolDurationMs = milliseconds;
    std::fclose(delay);
  }
}

// Shows the device tool's effects of every run that has started or ended by the clock, waiting
// for the worker where it has not got that far yet (at most 30 s: a run that never ends shows
// as a trace that differs). No input comes meanwhile, so the hooks are not needed.
void DeviceToolTrace::EmitDue() {
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (runsShown_ < g_toolRuns.size()) {
    const ToolRunTimes& run = g_toolRuns[runsShown_];
    if (!runStartShown_) {
      if (run.start > g_clockMs || !ShowUpToMark(deadline)) return;
      runStartShown_ = true;
    }
    if (run.end > g_clockMs || !ShowUpToMark(deadline)) return;
    runStartShown_ = false;
    ++runsShown_;
  }
}

bool DeviceToolTrace::ShowUpToMark(ULONGLONG deadline) {
  for (;;) {
    std::vector<std::string> lines;
    bool marked = false;
    EnterCriticalSection(&g_toolEffects.lock);
    for (std::size_t i = effectsShown_; i < g_toolEffects.entries.size(); ++i) {
      if (g_toolEffects.entries[i].kind == ToolEffects::Kind::Effect) continue;
      for (std::size_t j = effectsShown_; j < i; ++j) {
        lines.push_back(g_toolEffects.entries[j].line);
      }
      effectsShown_ = i + 1;
      marked = true;
      break;
    }
    LeaveCriticalSection(&g_toolEffects.lock);
    for (const std::string& line : lines) Emit("%s", line.c_str());
    if (marked) return true;
    if (GetTickCount64() > deadline) return false;
    Sleep(5);
  }
}
