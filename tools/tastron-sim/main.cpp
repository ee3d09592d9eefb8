// tastron-sim: plays a scenario script on the simulated desktop and prints the trace.
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <string_view>

#include "scenario/ScenarioScript.h"
#include "sim/SimDesktop.h"

namespace {

// The ANSI code pages the simulated system can be set to, by their Windows numbers.
std::optional<SimCodePage> CodePageNumbered(std::string_view number) {
  if (number == "1252") return SimCodePage::Western;
  if (number == "949") return SimCodePage::Korean;
  if (number == "65001") return SimCodePage::Utf8;
  return std::nullopt;
}

}  // namespace

// tastron-sim [--device-tool-ms N] [--code-page 1252|949|65001] [SCRIPT]: N, the milliseconds
// each run of the simulated device tool takes (0 by default: it ends at once); the system's
// ANSI code page (1252 by default).
int main(int argc, char** argv) {
  long toolMs = 0;
  SimCodePage codePage = SimCodePage::Western;
  bool understood = true;
  while (understood && argc >= 3 && std::string_view(argv[1]).rfind("--", 0) == 0) {
    const std::string_view option = argv[1];
    if (option == "--device-tool-ms") {
      char* end = nullptr;
      toolMs = std::strtol(argv[2], &end, 10);
      understood = end != argv[2] && *end == '\0' && toolMs >= 0 && toolMs <= 600000;
    } else if (option == "--code-page") {
      const auto numbered = CodePageNumbered(argv[2]);
      understood = numbered.has_value();
      if (numbered) codePage = *numbered;
    } else {
      understood = false;
    }
    argv += 2;
    argc -= 2;
  }
  if (!understood || argc < 1 || argc > 2) {
    std::cerr << "usage: tastron-sim [--device-tool-ms N] [--code-page 1252|949|65001] [SCRIPT]\n";
    return 2;
  }
  try {
    std::ifstream file;
    if (argc == 2) {
      file.open(argv[1], std::ios::binary);
      if (!file) {
        std::cerr << "tastron-sim: cannot open " << argv[1] << '\n';
        return 2;
      }
    }
    SimDesktop desktop(std::cout);
    desktop.SetCodePage(codePage);
    desktop.SetDeviceToolDuration(std::chrono::milliseconds{toolMs});
    desktop.StartLikeHost();
    ScenarioScript script(desktop, std::cout,
                          argc == 2 ? ScenarioScript::FolderOf(argv[1]) : std::string());
    const auto error = script.Run(argc == 2 ? file : std::cin);
    std::cout.flush();
    if (error) {
      std::cerr << *error << '\n';
      return 2;
    }
    return 0;
  } catch (const std::exception& failure) {
    std::cerr << "tastron-sim: " << failure.what() << '\n';
    return 1;
  }
}
