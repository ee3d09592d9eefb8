// The programs the library starts: as it asked for them and as they happened, matched in order
// before the driver ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "scenario/ScenarioDesktop.h"

// The device tool the library is pointed at, and the log the stand-in tool writes a line to
// at the end of each run.
constexpr const char* kDevconPath = "C:\\Tastron\\dc64.exe";
constexpr const char* kDeviceToolLog = "C:\\Tastron\\devicetool.log";

// Starts as the library asked for them (on the hook thread) and as they happened (on its
// workers). Programs of the scenarios are not started under Wine; the device tool really runs.
struct Starts {
  CRITICAL_SECTION lock;
  std::vector<std::string> asked;
  std::vector<std::string> happened;
  int deviceToolRuns = 0;
  Starts() { InitializeCriticalSection(&lock); }
};
extern Starts g_starts;

// A start as the trace shows it: run "FILE" "PARAMETERS" SHOW.
std::string StartLine(const char* file, const char* parameters, int show);
void NoteStart(std::string line, bool deviceTool);

// The lines of a text file; 0 when there is none.
int CountLines(const char* file);

// Waits (at most 30 s) until every start the library asked for has happened and every device
// tool run has ended (the tool's log had `deviceToolLogBefore` lines at the driver's start);
// then whether they match, in order.
bool StartsMatchRequests(ScenarioDesktop& desktop, int deviceToolLogBefore);
