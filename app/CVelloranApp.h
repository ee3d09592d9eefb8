#pragma once

#include <string>

// The application: one instance at a time, the process-wide set-up, then the main window run
// modally. When the window closes the process ends.
class CVelloranApp {
 public:
  // Runs the whole program; returns the process's exit code (0: the program never keeps a
  // message loop of its own after its window).
  int Run(const std::string& commandLine);

  // The command line as the application received it (the main window asks for "startup").
  static const std::string& CommandLine();
  // Whether the whole command line is "startup", letter case aside.
  static bool IsStartupLaunch(const std::string& commandLine);

 private:
  bool AnotherInstanceAnswers();
};
