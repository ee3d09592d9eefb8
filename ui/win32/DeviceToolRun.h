#pragma once

#include <functional>
#include <string>

// The main program's run of the device tool: hidden, on a thread of its own, in its turn with
// the hook library's runs; `ended` is told the outcome before the turn passes on.
void RunDeviceToolInTurn(const std::string& tool, const std::string& parameters,
                         std::function<void(bool succeeded)> ended);
