#include "app/AppPaths.h"

#include <cstddef>

#include "ui/CUtilityLib.h"

namespace {
constexpr std::size_t kVersionBuffer = 1024;
}  // namespace

AppPaths AppPaths::Find() {
  AppPaths paths;
  const std::string versionFile = CUtilityLib::GetAppPath() + "\\version.cfg";
  paths.versionText = CUtilityLib::Get().Profiles().GetString(versionFile, "Application", "Version",
                                                              "version", kVersionBuffer);
  paths.appDataFolder = CUtilityLib::GetAppDataPath(true);
  CUtilityLib::CreateMultiFolder(paths.appDataFolder, 1);
  paths.ruleFile = paths.appDataFolder + "\\config.ini";
  paths.deviceTool =
      CUtilityLib::GetAppPath() + (CUtilityLib::IsWin64() ? "\\dc64.exe" : "\\dc32.exe");
  return paths;
}
