#pragma once

#include <string>

// When the rule file still says that the away mode left the mouse devices off ("OffState" in
// section "Mouse"), runs the device tool with "enable =Mouse", hidden and without waiting, and
// deletes the key once that run has ended with success. Reports whether it asked for the run.
bool RepairMouseDevices(const std::string& ruleFile, const std::string& deviceTool);
