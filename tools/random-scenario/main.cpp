// random-scenario SEED [--wine-safe]: prints the random session of that seed as a scenario
// script (see sim/RandomSession.h).
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "sim/RandomSession.h"

int main(int argc, char** argv) {
  const bool wineSafe = argc == 3 && std::strcmp(argv[2], "--wine-safe") == 0;
  char* end = nullptr;
  const unsigned long seed = argc >= 2 ? std::strtoul(argv[1], &end, 10) : 0;
  if (argc < 2 || argc > 3 || (argc == 3 && !wineSafe) || end == argv[1] || *end != '\0') {
    std::cerr << "usage: random-scenario SEED [--wine-safe]\n";
    return 2;
  }
  RandomSession session(static_cast<unsigned>(seed),
                        wineSafe ? RandomSession::Keys::WineSafe : RandomSession::Keys::All);
  for (const std::string& line : session.Script()) std::cout << line << '\n';
  return 0;
}
