#include "app/MainTrayIcon.h"

#include <vector>

#include "app/RegistryNames.h"
#include "ui/CUtilityLib.h"

namespace {
constexpr unsigned kTrayAnimationPeriodMs = 100000;
constexpr const char* kHiddenValue = "Hide_TrayIcon";
}  // namespace

// The icon file lies beside the program, wherever the program was started from.
bool MainTrayIcon::SetUp(WindowHandle window, bool again) {
  const std::vector<IconHandle> icons = {
      icon_.LoadIconA(CUtilityLib::GetAppPath() + "\\TrayIcon.Ico")};
  icon_.Create(window);
  if (again) icon_.HideIcon();
  icon_.SetAnimate(icons, kTrayAnimationPeriodMs);
  const bool hidden = CUtilityLib::ReadRegistry(RegistryRoot::CurrentUser,
                                                registry_name::kConfigKey, kHiddenValue, 0) != 0;
  Show(hidden);
  return hidden;
}

void MainTrayIcon::SetHidden(bool hidden) {
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, registry_name::kConfigKey, kHiddenValue,
                             hidden ? "1" : "0");
  Show(hidden);
}

void MainTrayIcon::SetPaused(bool paused) {
  paused_ = paused;
  if (!hidden_) Show(false);
}

void MainTrayIcon::SetOutranked(bool outranked) {
  if (outranked == outranked_) return;
  outranked_ = outranked;
  if (!hidden_) Show(false);
}

void MainTrayIcon::Show(bool hidden) {
  hidden_ = hidden;
  if (hidden) {
    icon_.HideIcon();
  } else {
    icon_.ShowIcon(0, paused_ ? kPausedTooltip : outranked_ ? kOutrankedTooltip : kTooltip);
  }
}
