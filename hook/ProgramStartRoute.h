#pragma once

#include <optional>

// The way a program the user asked for (a hotkey's, the middle button's) is started. Tastron
// runs elevated to reach elevated windows; the programs its rules start must not inherit that
// by accident, so while the desktop's shell has fewer rights than Tastron, the shell starts
// them, with the rights it has: the user's normal ones.
enum class ProgramStartRoute { Direct, ThroughDesktopShell };

// `shellElevated` tells whether the desktop shell's process is elevated, nullopt when there is
// no desktop shell to ask (another shell, none, or one that cannot be asked): then a program
// starts as Tastron does, as there is nothing with other rights to start it.
ProgramStartRoute ChooseProgramStartRoute(bool tastronElevated, std::optional<bool> shellElevated);
