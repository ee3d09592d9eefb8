#include "app/MouseRepair.h"

#include "ui/CUtilityLib.h"

namespace {

constexpr int kShowHidden = 0;  // SW_HIDE

}  // namespace

bool RepairMouseDevices(const std::string& ruleFile, const std::string& deviceTool) {
  Services& services = CUtilityLib::Get();
  if (services.Profiles().GetInt(ruleFile, "Mouse", "OffState", 0) == 0) return false;
  services.StartProgram(deviceTool, "enable =Mouse", kShowHidden);
  services.Profiles().DeleteKey(ruleFile, "Mouse", "OffState");
  return true;
}
