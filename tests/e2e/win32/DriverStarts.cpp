// The starts the library asked for against those that happened: the device tool's runs and the
// programs each in their own order.
#include "tests/e2e/win32/DriverStarts.h"

#include <cstdio>
#include <fstream>

Starts g_starts;

std::string StartLine(const char* file, const char* parameters, int show) {
  char number[16];
  std::snprintf(number, sizeof number, "%d", show);
  return std::string("run \"") + (file ? file : "") + "\" \"" + (parameters ? parameters : "") +
         "\" " + number;
}

void NoteStart(std::string line, bool deviceTool) {
  EnterCriticalSection(&g_starts.lock);
  g_starts.happened.push_back(std::move(line));
  if (deviceTool) ++g_starts.deviceToolRuns;
  LeaveCriticalSection(&g_starts.lock);
}

int CountLines(const char* file) {
  std::ifstream in(file);
  int lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

bool StartsMatchRequests(ScenarioDesktop& desktop, int deviceToolLogBefore) {
  for (int waited = 0; waited < 3000; ++waited) {
    EnterCriticalSection(&g_starts.lock);
    const bool allStarted = g_starts.happened.size() >= g_starts.asked.size();
    const int runs = g_starts.deviceToolRuns;
    LeaveCriticalSection(&g_starts.lock);
    if (allStarted && CountLines(kDeviceToolLog) >= deviceToolLogBefore + runs) break;
    desktop.Settle();
  }
  // The device tool's runs keep their order among themselves and programs theirs: the two go
  // through different workers, so a slow run never delays a program.
  const auto only = [](const std::vector<std::string>& lines, bool deviceTool) {
    const std::string tool = std::string("run \"") + kDevconPath + "\"";
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
      if ((line.compare(0, tool.size(), tool) == 0) == deviceTool) kept.push_back(line);
    }
    return kept;
  };
  EnterCriticalSection(&g_starts.lock);
  const bool same = only(g_starts.asked, true) == only(g_starts.happened, true) &&
                    only(g_starts.asked, false) == only(g_starts.happened, false);
  if (!same) {
    std::fprintf(stderr, "scenario-driver: the library asked for these starts:\n");
    for (const std::string& line : g_starts.asked) std::fprintf(stderr, "  %s\n", line.c_str());
    std::fprintf(stderr, "but these happened:\n");
    for (const std::string& line : g_starts.happened) std::fprintf(stderr, "  %s\n", line.c_str());
  }
  LeaveCriticalSection(&g_starts.lock);
  return same;
}
