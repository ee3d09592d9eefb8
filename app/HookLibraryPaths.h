#pragma once

#include <string>

// The two paths as trellin_192.dll takes them: in the ANSI code page (the library opens them
// with the *A functions), within its 259-character fields. Empty when a path cannot be handed
// over; then `warning` says so to the user.
struct HookLibraryPaths {
  std::string ruleFile;
  std::string deviceTool;
  std::string warning;
};

// Without the rule file the device tool is withheld as well: the away mode notes in the rule
// file that it switched the mouse off, and a mouse switched off without that note would stay
// off after a crash, with nothing left to switch it on at the next start.
HookLibraryPaths PathsForHookLibrary(const std::string& ruleFile, const std::string& deviceTool);
