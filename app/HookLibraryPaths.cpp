#include "app/HookLibraryPaths.h"

#include "app/AppTexts.h"
#include "hook/HookState.h"
#include "ui/CUtilityLib.h"

HookLibraryPaths PathsForHookLibrary(const std::string& ruleFile, const std::string& deviceTool) {
  // The library cuts a longer path at its field's end and would open another file.
  constexpr std::size_t kMaxBytes = kPathCapacity - 1;
  Services& services = CUtilityLib::Get();
  const auto rules = services.PathForAnsiCodePage(ruleFile, kMaxBytes);
  if (!rules) {
    return {"", "", app_text::kRuleFilePathUnusable + ruleFile + app_text::kRuleFilePathEffect};
  }
  const auto tool = services.PathForAnsiCodePage(deviceTool, kMaxBytes);
  if (!tool) {
    return {*rules, "",
            app_text::kDeviceToolPathUnusable + deviceTool + app_text::kDeviceToolPathEffect};
  }
  return {*rules, *tool, ""};
}
