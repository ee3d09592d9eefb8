#pragma once

#include <string>

#include "common/Handles.h"

// Tastron restarted with the administrator's rights: the running instance starts its successor
// with the "runas" verb and keeps running until the successor, started with the take-over
// argument, tells it to let go. Only then does the successor run its own hooks, so the library
// never has two hosts.
namespace elevated_restart {

inline constexpr const char* kTakeOverArgument = "takeover";

// Starts the successor; when it did not start, the user is told that nothing changed.
void Start(WindowHandle mainWindow);
bool IsTakeOver(const std::string& commandLine);
// At a take-over start: the running instance, if it answers, has let go of everything when
// this returns.
void TakeOverFromRunningInstance();

}  // namespace elevated_restart
