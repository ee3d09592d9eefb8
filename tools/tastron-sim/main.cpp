// tastron-sim: plays a scenario script on the simulated desktop and prints the trace.
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <string_view>

#include "scenario/ScenarioScript.h"
#include "sim/SimDesktop.h"

// tastron-sim [--device-tool-ms N] [SCRIPT]: N, the milliseconds each run of the simulated
// device tool takes (0 by default: it ends at once).
int main(int argc, char** argv) {
  long toolMs = 0;
  if (argc >= 3 && std::string_view(argv[1]) == "--device-tool-ms") {
    char* end = nullptr;
    toolMs = std::strtol(argv[2], &end, 10);
    if (end == argv[2] || *end != '\0' || toolMs < 0 || toolMs > 600000) argc = 0;
    argv += 2;
    argc -= 2;
  }
  if (argc < 1 || argc > 2) {
    std::cerr << "usage: tastron-sim [--device-tool-ms N] [SCRIPT]\n";
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
