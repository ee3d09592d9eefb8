#pragma once

#include <string>

// Where Tastron's files are, worked out once at start-up: the version text beside the program,
// the per-user folder (made when missing) with the rule file in it, and the device tool of the
// machine's bitness.
struct AppPaths {
  std::string versionText;
  std::string appDataFolder;
  std::string ruleFile;
  std::string deviceTool;

  static AppPaths Find();
};
