#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "scenario/ScenarioDesktop.h"

// Reads a scenario script line by line and plays it on a desktop, echoing each command to the
// trace before its effects.
class ScenarioScript {
 public:
  // `folder`: where the files a script names (`load FILE`) lie, ending in a path separator;
  // empty for the current folder.
  ScenarioScript(ScenarioDesktop& desktop, std::ostream& trace, std::string folder = {})
      : desktop_(desktop), trace_(trace), folder_(std::move(folder)) {}

  // The folder of a script file's path, as the constructor takes it.
  static std::string FolderOf(const std::string& scriptPath);

  // Runs every line. On a line that cannot be understood, returns "line N: ..." and runs
  // nothing after it; nullopt when the whole script ran.
  std::optional<std::string> Run(std::istream& script);

  // One line (without its number); returns the reason when it cannot be understood.
  std::optional<std::string> RunLine(const std::string& line);

 private:
  std::optional<std::string> Execute(const std::string& raw);

  ScenarioDesktop& desktop_;
  std::ostream& trace_;
  std::string folder_;
};
