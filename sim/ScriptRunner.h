#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "sim/SimDesktop.h"

// Reads a scenario script line by line and plays it on a simulated desktop, echoing each
// command to the trace before its effects.
class ScriptRunner {
 public:
  explicit ScriptRunner(SimDesktop& desktop, std::ostream& trace)
      : desktop_(desktop), trace_(trace) {}

  // Runs every line. On a line that cannot be understood, returns "line N: ..." and runs
  // nothing after it; nullopt when the whole script ran.
  std::optional<std::string> Run(std::istream& script);

  // One line (without its number); returns the reason when it cannot be understood.
  std::optional<std::string> RunLine(const std::string& line);

 private:
  SimDesktop& desktop_;
  std::ostream& trace_;
};

// Runs a whole script on a fresh desktop started like the host; the trace goes to `trace`.
std::optional<std::string> RunScenario(std::istream& script, std::ostream& trace);
