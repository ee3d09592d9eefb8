#include "app/MouseRepair.h"

#include "ui/CUtilityLib.h"

// The note goes only once the devices are on again, and within the run's turn: a tool that
// failed leaves it for the next repair, and a "disable" the library asked for meanwhile (whose
// note comes in its own turn, after this one) keeps its note.
bool RepairMouseDevices(const std::string& ruleFile, const std::string& deviceTool) {
  Services& services = CUtilityLib::Get();
  if (services.Profiles().GetInt(ruleFile, "Mouse", "OffState", 0) == 0) return false;
  services.RunDeviceTool(deviceTool, "enable =Mouse", [ruleFile](bool succeeded) {
    if (succeeded) CUtilityLib::Get().Profiles().DeleteKey(ruleFile, "Mouse", "OffState");
  });
  return true;
}
