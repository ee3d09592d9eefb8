#pragma once

#include <string>

// When the rule file still says that the away mode left the mouse devices off ("OffState" in
// section "Mouse"), starts the device tool with "enable =Mouse", hidden and without waiting, and
// deletes the key. Reports whether it did.
bool RepairMouseDevices(const std::string& ruleFile, const std::string& deviceTool);
