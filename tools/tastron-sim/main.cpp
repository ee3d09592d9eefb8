// tastron-sim: plays a scenario script on the simulated desktop and prints the trace.
#include <exception>
#include <fstream>
#include <iostream>

#include "scenario/ScenarioScript.h"
#include "sim/SimDesktop.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: tastron-sim [SCRIPT]\n";
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
