#include "hook/ProgramStartRoute.h"

ProgramStartRoute ChooseProgramStartRoute(bool tastronElevated, std::optional<bool> shellElevated) {
  const bool shellHasLess = shellElevated.has_value() && !*shellElevated;
  return tastronElevated && shellHasLess ? ProgramStartRoute::ThroughDesktopShell
                                         : ProgramStartRoute::Direct;
}
