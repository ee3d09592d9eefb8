#pragma once

#include <vector>

#include "ui/Services.h"

// The programs with a window on the desktop, front first: what the program chooser of the rule
// editors offers.
std::vector<RunningProgram> ProgramsWithWindows();
