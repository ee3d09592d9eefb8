#include "app/CVelloranDlg.h"

#include "app/MouseRepair.h"
#include "app/RegistryNames.h"
#include "common/HostMessages.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr std::size_t kVersionBuffer = 1024;

}  // namespace

CVelloranDlg::CVelloranDlg(WindowHandle parent) : CResizeDlg(kTemplateId, parent) {
  SetIcon(kIconId);

  versionFile_ = CUtilityLib::GetAppPath() + "\\version.cfg";
  versionText_ = CUtilityLib::Get().Profiles().GetString(versionFile_, "Application", "Version",
                                                         "version", kVersionBuffer);

  appDataFolder_ = CUtilityLib::GetAppDataPath(true);
  CUtilityLib::CreateMultiFolder(appDataFolder_, 1);
  ruleFile_ = appDataFolder_ + "\\config.ini";

  deviceTool_ = CUtilityLib::GetAppPath() + (CUtilityLib::IsWin64() ? "\\dc64.exe" : "\\dc32.exe");

  RepairMouseDevices(ruleFile_, deviceTool_);
  keyCodeDisplay_ = false;
  hookLibraryLoaded_ = hookLibrary_.LoadForHost(ruleFile_, deviceTool_);

  OnMessage(host_message::kBringToFront,
            [this](std::uintptr_t, std::intptr_t) { return OnBringToFront(); });
  // The volume steps of Ctrl+wheel; the volume control handles them.
  OnMessage(host_message::kVolumeStep, [](std::uintptr_t, std::intptr_t) { return 0; });
  OnMessage(host_message::kAwayMode, [this](std::uintptr_t wParam, std::intptr_t) {
    watchdog_.OnAwayMode(Host(), wParam);
    return 0;
  });
  OnMessage(dialog_message::kTimer, [this](std::uintptr_t id, std::intptr_t) {
    if (id == AwayWatchdog::kTimerId) watchdog_.OnTimer(Host());
    return 0;
  });
  OnMessage(dialog_message::kDestroy, [this](std::uintptr_t, std::intptr_t) {
    OnDestroy();
    return 0;
  });
  OnCommand(kExitButton, [this] { Host().End(dialog_message::kIdCancel); });
}

bool CVelloranDlg::OnInitDialog() {
  const std::string title = Host().Title();
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, registry_name::kAppKey,
                             registry_name::kMainWindow,
                             static_cast<std::uint32_t>(Host().Window()));
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, registry_name::kAppKey,
                             registry_name::kTitle, title);
  Host().SetTitle(title + versionText_);
  Host().CenterOnScreen();
  Host().Show(show_state::kShow);
  hookLibrary_.StartForWindow(Host().Window());
  return true;
}

// A second instance asks this one to come forward.
std::intptr_t CVelloranDlg::OnBringToFront() {
  Host().Show(show_state::kRestore);
  Host().BringToFront();
  return host_message::kBringToFrontAnswer;
}

void CVelloranDlg::OnDestroy() {
  hookLibrary_.StopAndUnload(Host().Window());
  CUtilityLib::DeleteRegistryValue(RegistryRoot::CurrentUser, registry_name::kAppKey,
                                   registry_name::kMainWindow);
}
