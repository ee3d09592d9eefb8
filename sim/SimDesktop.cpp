#include "sim/SimDesktop.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

std::filesystem::path MakePrivateFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tastron-sim.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder for the rule file");
  }
  return pattern;
}

}  // namespace

SimDesktop::SimDesktop(std::ostream& trace)
    : trace_(trace), folder_(MakePrivateFolder()), ruleFile_((folder_ / "config.ini").string()) {}

SimDesktop::~SimDesktop() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void SimDesktop::StartLikeHost() {
  HookEngine engine = Engine();
  engine.SetConfigINI(ruleFile_.c_str());
  engine.SetDevconPath(kDevconPath);
  engine.StartHook(kHostWindow);
  engine.EnableHookStatue(1);
}

void SimDesktop::PushSettings() {
  Engine().UpdateValue(&hostSettings_);
}
