#include "app/CVelloranDlg.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/CVelloranApp.h"
#include "app/MouseRepair.h"
#include "app/RegistryNames.h"
#include "app/SettingsFile.h"
#include "common/HostMessages.h"
#include "common/RuleRecord.h"
#include "common/TextCase.h"
#include "common/WheelLimits.h"
#include "editors/CAboutDlg.h"
#include "editors/CHotkeyListDlg.h"
#include "editors/CKeyChangeListDlg.h"
#include "editors/CMouseMapDlg.h"
#include "editors/CShiftMemoryHelpDlg.h"
#include "ui/CAPPCommonServiceWnd.h"
#include "ui/CUtilityLib.h"

namespace {

using namespace main_window;

constexpr std::size_t kVersionBuffer = 1024;
constexpr std::size_t kEditBuffer = 64;  // the edit's text is read into 63 characters
// Enough for the largest sideways step and no more: a fourth digit is never a valid step.
constexpr int kSidewaysStepDigits = 3;
static_assert(kMaxSidewaysScrollPerWheel >= 100 && kMaxSidewaysScrollPerWheel <= 999);
constexpr std::size_t kRunValueBuffer = 260;
constexpr unsigned kFirstRunTimer = 1000;
constexpr unsigned kFirstRunDelayMs = 100;
constexpr unsigned kStartupHideTimer = 1001;
constexpr unsigned kStartupHideDelayMs = 5000;
constexpr unsigned kTrayAnimationPeriodMs = 100000;
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Tastron";
constexpr const char* kExitQuestion = "종료하겠습니까 ?";

constexpr std::uint32_t kWmKeyDown = 0x100;
constexpr std::uint32_t kWmKeyUp = 0x101;
constexpr std::uint32_t kWmSysKeyDown = 0x104;
constexpr std::uint32_t kWmSysKeyUp = 0x105;
constexpr std::uint32_t kWmSysCommand = 0x112;
constexpr std::uintptr_t kScMinimize = 0xF020;
constexpr std::uintptr_t kScClose = 0xF060;
constexpr std::uintptr_t kVkEscape = 27;
constexpr std::uintptr_t kVkF12 = 123;
constexpr int kVkControl = 0x11;

std::int32_t ReadOption(const char* name, int defaultValue) {
  return CUtilityLib::ReadRegistry(RegistryRoot::CurrentUser, registry_name::kConfigKey, name,
                                   defaultValue);
}

void WriteOption(const char* name, const std::string& text) {
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, registry_name::kConfigKey, name, text);
}

// The number an edit's text stands for, read as atoi reads it (leading blanks, a sign, digits up
// to the first other character, nothing readable is 0), except that a number beyond int stops
// at int's end where atoi's result is undefined.
std::int32_t EditNumber(const std::string& text) {
  return ReadDecimalField(std::string_view(text).substr(0, kEditBuffer - 1));
}

// The sideways step the library honours, whatever the edit or the registry says.
std::int32_t SidewaysStep(std::int32_t number) {
  return std::clamp(number, kMinSidewaysScrollPerWheel, kMaxSidewaysScrollPerWheel);
}

const OptionBox* FindBox(int id) {
  for (const OptionBox& box : kOptionBoxes) {
    if (box.id == id) return &box;
  }
  return nullptr;
}

}  // namespace

CVelloranDlg::CVelloranDlg(WindowHandle parent) : CResizeDlg(kTemplateId, parent) {
  SetIcon(kIconId);

  const std::string versionFile = CUtilityLib::GetAppPath() + "\\version.cfg";
  versionText_ = CUtilityLib::Get().Profiles().GetString(versionFile, "Application", "Version",
                                                         "version", kVersionBuffer);

  appDataFolder_ = CUtilityLib::GetAppDataPath(true);
  CUtilityLib::CreateMultiFolder(appDataFolder_, 1);
  ruleFile_ = appDataFolder_ + "\\config.ini";

  deviceTool_ = CUtilityLib::GetAppPath() + (CUtilityLib::IsWin64() ? "\\dc64.exe" : "\\dc32.exe");

  RepairMouseDevices(ruleFile_, deviceTool_);
  keyCodeDisplay_ = false;
  taskbarCreated_ = CUtilityLib::Get().RegisterWindowMessageNumber("TaskbarCreated");
  hookLibraryLoaded_ = hookLibrary_.LoadForHost(ruleFile_, deviceTool_);

  for (const OptionBox& box : kOptionBoxes) {
    OnCommand(box.id, [this, &box] { ToggleOption(box); });
  }
  OnNotify(kShiftWheelDelta.id, dialog_message::kEditUpdate,
           [this] { EditUpdated(kShiftWheelDelta); });
  OnNotify(kShiftWheelDelta.id, dialog_message::kEditKillFocus,
           [this] { ShowSidewaysStepInForce(); });
  OnNotify(kCtrlWheelUnit.id, dialog_message::kEditUpdate, [this] { EditUpdated(kCtrlWheelUnit); });
  OnCommand(kHideTrayIcon, [this] { ToggleTrayIcon(); });
  OnCommand(kAutostart, [this] { ToggleAutostart(); });
  OnCommand(kMenuAbout, [this] { CAboutDlg(versionText_).DoModal(); });
  OnCommand(kKeyMapButton,
            [this] { RunEditor([this] { return CKeyChangeListDlg(ruleFile_).DoModal(); }); });
  OnCommand(kHotkeyButton,
            [this] { RunEditor([this] { return CHotkeyListDlg(ruleFile_).DoModal(); }); });
  OnCommand(kMouseMapButton,
            [this] { RunEditor([this] { return CMouseMapDlg(ruleFile_).DoModal(); }); });
  OnCommand(kMenuExport, [this] { settings_file::Export(Host(), ruleFile_); });
  OnCommand(kMenuImport, [this] {
    if (settings_file::Import(Host().Window(), ruleFile_)) LoadSettings();
  });
  OnCommand(kMenuHide, [this] { HideToTray(); });
  OnCommand(kExitButton, [this] { AskThenExit(); });
  OnCommand(kMenuExit, [this] { AskThenExit(); });
  OnLink([this](std::uintptr_t wParam, const std::string& target) {
    if (wParam == 0) PostExecute(CVXCPParser(target));
    return 1;
  });
  OnMessage(host_message::kTrayActivate, [this](std::uintptr_t, std::intptr_t) {
    Restore();
    return 1;
  });
  OnMessage(host_message::kBringToFront, [this](std::uintptr_t, std::intptr_t) {
    Restore();
    return host_message::kBringToFrontAnswer;
  });
  OnMessage(taskbarCreated_, [this](std::uintptr_t, std::intptr_t) {
    SetUpTrayIcon(false);
    return 1;
  });
  OnMessageOrDefault(kWmSysCommand,
                     [this](std::uintptr_t command, std::intptr_t) -> std::optional<std::intptr_t> {
                       if (command == kScMinimize) {
                         HideToTray();
                         return 0;
                       }
                       if (command == kScClose) {
                         AskThenExit();
                         return 0;
                       }
                       return std::nullopt;
                     });
  // The volume steps of Ctrl+wheel.
  OnMessage(host_message::kVolumeStep, [this](std::uintptr_t wParam, std::intptr_t lParam) {
    return volume_.OnVolumeStep(wParam, lParam);
  });
  OnMessage(host_message::kAwayMode, [this](std::uintptr_t wParam, std::intptr_t) {
    watchdog_.OnAwayMode(Host(), wParam);
    OnAwayMode(wParam);
    return 0;
  });
  OnMessage(host_message::kHooksInstalledAgain, [this](std::uintptr_t wParam, std::intptr_t) {
    hookState_.HooksInstalledAgain(wParam != 0, CUtilityLib::Get().ClockTime());
    ShowHookState();
    return 0;
  });
  OnMessageOrDefault(dialog_message::kTimer,
                     [this](std::uintptr_t id, std::intptr_t) -> std::optional<std::intptr_t> {
                       OnTimer(static_cast<unsigned>(id));
                       return std::nullopt;  // and the default handling after it
                     });
  OnMessage(dialog_message::kDestroy, [this](std::uintptr_t, std::intptr_t) {
    OnDestroy();
    return 0;
  });
}

bool CVelloranDlg::OnInitDialog() {
  SetHandlerName("MainDlg");
  const std::string title = Host().Title();
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, registry_name::kAppKey,
                             registry_name::kMainWindow,
                             static_cast<std::uint32_t>(Host().Window()));
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, registry_name::kAppKey,
                             registry_name::kTitle, title);
  CAPPCommonServiceWnd& service = CAPPCommonServiceWnd::Instance();
  if (!service.HasWindow()) {
    service.CreateHiddenWindow(CUtilityLib::GetTopWindow(Host().Window()));
    service.SetAppIcon(kIconId);
  }
  banner_.Create(Host(), kBanner);
  Host().SetTitle(title + versionText_);
  Host().LimitText(kShiftWheelDelta.id, kSidewaysStepDigits);
  LoadSettings();
  service.ShowVersionAlarm();
  service.ShowNoticeDialog();
  service.MakeServiceLog();
  if (!CUtilityLib::ReadRegistryText(RegistryRoot::CurrentUser, kRunKey, kRunValue, kRunValueBuffer)
           .empty()) {
    Host().SetChecked(kAutostart, true);
  }
  Host().CenterOnScreen();
  Host().Show(show_state::kShow);
  if (CVelloranApp::IsStartupLaunch(CVelloranApp::CommandLine())) {
    Host().SetTimer(kStartupHideTimer, kStartupHideDelayMs);
  }
  if (CUtilityLib::Get().Profiles().GetInt(ruleFile_, "Tastron", "Startup", 0) == 0) {
    Host().SetTimer(kFirstRunTimer, kFirstRunDelayMs);
  }
  hookState_.Started(hookLibrary_.StartForWindow(Host().Window()));
  ShowHookState();
  SetUpTrayIcon(true);
  return true;
}

// Setting the edits' texts raises their update notifications, which write the value back and
// push the block: the first push still carries 1060 and 1026 as they were, the second all.
void CVelloranDlg::LoadSettings() {
  for (int id : kLoadOrder) {
    const OptionBox& box = *FindBox(id);
    Host().SetChecked(box.id, ReadOption(box.registryName, box.defaultValue) != 0);
  }
  // A stored step beyond the range (the registry can be edited by hand) shows as the step in
  // force, and is stored so.
  Host().SetText(kShiftWheelDelta.id,
                 CUtilityLib::GetString(SidewaysStep(
                     ReadOption(kShiftWheelDelta.registryName, kShiftWheelDelta.defaultValue))));
  const OptionBox& ctrlWheelBox = *FindBox(kEnableCtrlWheel);
  const bool ctrlWheel = ReadOption(ctrlWheelBox.registryName, ctrlWheelBox.defaultValue) != 0;
  Host().SetChecked(kEnableCtrlWheel, ctrlWheel);
  Host().Enable(kCtrlWheelUnit.id, ctrlWheel);
  Host().SetText(kCtrlWheelUnit.id, CUtilityLib::GetString(ReadOption(
                                        kCtrlWheelUnit.registryName, kCtrlWheelUnit.defaultValue)));
  UpdateDependants(kLockWin);
}

void CVelloranDlg::ToggleOption(const OptionBox& box) {
  const bool checked = !Host().IsChecked(box.id);
  Host().SetChecked(box.id, checked);
  WriteOption(box.registryName, checked ? "1" : "0");
  UpdateDependants(box.id);
  PushSettings();
}

// 1062 needs the Windows keys; 1066 and 1067 need Win+L as well; 1026 needs Ctrl+wheel.
void CVelloranDlg::UpdateDependants(int changedId) {
  if (changedId == kLockWin || changedId == kLockMonitor) {
    const bool winFree = !Host().IsChecked(kLockWin);
    if (changedId == kLockWin) Host().Enable(kLockMonitor, winFree);
    const bool awayMode = winFree && Host().IsChecked(kLockMonitor);
    Host().Enable(kInactiveMouse, awayMode);
    Host().Enable(kLockWorkStation, awayMode);
  }
  if (changedId == kEnableCtrlWheel) {
    Host().Enable(kCtrlWheelUnit.id, Host().IsChecked(kEnableCtrlWheel));
  }
}

// The registry keeps the text as typed, as stored settings expect; the block carries the number.
void CVelloranDlg::EditUpdated(const NumberEdit& edit) {
  WriteOption(edit.registryName, Host().Text(edit.id));
  PushSettings();
}

// While the user types, the text stays as typed (correcting "" to "1" would turn the next "5"
// into "15"); once the box is left it shows the step in force, which stores it too.
void CVelloranDlg::ShowSidewaysStepInForce() {
  const std::string text = Host().Text(kShiftWheelDelta.id);
  const std::string inForce = CUtilityLib::GetString(SidewaysStep(EditNumber(text)));
  if (text != inForce) Host().SetText(kShiftWheelDelta.id, inForce);
}

HookSettings CVelloranDlg::BuildSettings() {
  HookSettings settings{};
  for (const OptionBox& box : kOptionBoxes)
    settings.*(box.field) = Host().IsChecked(box.id) ? 1 : 0;
  settings.*(kShiftWheelDelta.field) = SidewaysStep(EditNumber(Host().Text(kShiftWheelDelta.id)));
  // The volume step has no range: only the ends of int bound it.
  settings.*(kCtrlWheelUnit.field) = EditNumber(Host().Text(kCtrlWheelUnit.id));
  return settings;
}

void CVelloranDlg::OnTimer(unsigned id) {
  if (id == kFirstRunTimer) {
    Host().KillTimer(kFirstRunTimer);
    CUtilityLib::Get().Profiles().WriteString(ruleFile_, "Tastron", "Startup", "1");
    CAboutDlg(versionText_).DoModal();
  } else if (id == kStartupHideTimer) {
    Host().KillTimer(kStartupHideTimer);
    HideToTray();
  } else if (id == AwayWatchdog::kTimerId) {
    // The library says nothing when the away mode ends: the first key or button after it
    // ends it, so input since it began (or a stopped watchdog) ends it for the banner too.
    const bool watching = watchdog_.OnTimer(Host());
    const std::uint32_t input = CUtilityLib::Get().LastInputTick();
    if (hookState_.Away() && (!watching || static_cast<std::int32_t>(input - awaySince_) > 0)) {
      hookState_.AwayEnded();
      ShowHookState();
    }
  }
}

template <typename Editor>
void CVelloranDlg::RunEditor(Editor&& editor) {
  hookState_.Paused();
  ShowHookState();
  struct Resume {
    CVelloranDlg& window;
    ~Resume() {
      window.hookState_.Resumed();
      window.ShowHookState();
    }
  } resume{*this};
  hookLibrary_.RunPaused(std::forward<Editor>(editor));
}

void CVelloranDlg::OnAwayMode(std::uintptr_t wParam) {
  if (wParam != 0) {
    awaySince_ = CUtilityLib::Get().TickCount();
    hookState_.AwayBegan();
  } else {
    hookState_.AwayEnded();
  }
  ShowHookState();
}

// The banner's window text is the line, so that screen readers read it too; set only when it
// changes, so that nothing repaints for nothing.
void CVelloranDlg::ShowHookState() {
  const std::string text = hookState_.Text();
  if (Host().Text(kBanner) != text) Host().SetText(kBanner, text);
}

void CVelloranDlg::OnVXCPCommand(const std::string& command, const std::string& /*arguments*/) {
  if (EqualsIgnoringCase(command, "help_shiftmemory")) CShiftMemoryHelpDlg().DoModal();
}

// The key-code display (after Ctrl+F12 every key shows its code pair in static 1014), and Esc,
// which never closes the main window.
bool CVelloranDlg::PreTranslateMessage(const LoopMessage& message) {
  const bool keyMessage = message.message == kWmKeyDown || message.message == kWmKeyUp ||
                          message.message == kWmSysKeyDown || message.message == kWmSysKeyUp;
  if (keyMessage && keyCodeDisplay_) {
    char text[16];
    std::snprintf(text, sizeof text, "%02x/%02x", static_cast<unsigned>(message.wParam & 0xFF),
                  static_cast<unsigned>((message.lParam >> 16) & 0xFF));
    Host().SetText(kKeyCodeDisplay, text);
  }
  if ((message.message == kWmKeyDown || message.message == kWmKeyUp) &&
      message.wParam == kVkEscape) {
    return true;
  }
  if (message.message == kWmKeyDown && message.wParam == kVkF12 &&
      CUtilityLib::Get().IsKeyDown(kVkControl)) {
    keyCodeDisplay_ = true;
  }
  return CResizeDlg::PreTranslateMessage(message);
}

void CVelloranDlg::HideToTray() {
  Host().Show(show_state::kHide);
  CUtilityLib::AniMinimizeToTray(Host().Window());
}

void CVelloranDlg::Restore() {
  if (!Host().IsVisible()) {
    CUtilityLib::AniMaximiseFromTray(Host().Window());
    Host().Show(show_state::kShow);
  }
  CUtilityLib::MSGSetForegroundWindow(Host().Window());
}

void CVelloranDlg::AskThenExit() {
  const int answer = CUtilityLib::Get().MessageBox(
      Host().Window(), kExitQuestion, "Tastron", message_box::kYesNo | message_box::kIconQuestion);
  if (answer == message_box::kIdYes) OnCancel();
}

// The icon file lies beside the program, wherever the program was started from.
void CVelloranDlg::SetUpTrayIcon(bool touchCheckBox) {
  const std::vector<IconHandle> icons = {
      trayIcon_.LoadIconA(CUtilityLib::GetAppPath() + "\\TrayIcon.Ico")};
  trayIcon_.Create(Host().Window());
  if (!touchCheckBox) trayIcon_.HideIcon();
  trayIcon_.SetAnimate(icons, kTrayAnimationPeriodMs);
  const bool hidden = ReadOption("Hide_TrayIcon", 0) != 0;
  if (touchCheckBox) Host().SetChecked(kHideTrayIcon, hidden);
  if (hidden) {
    trayIcon_.HideIcon();
  } else {
    trayIcon_.ShowIcon(0, kTooltip);
  }
}

void CVelloranDlg::ToggleTrayIcon() {
  const bool hidden = !Host().IsChecked(kHideTrayIcon);
  Host().SetChecked(kHideTrayIcon, hidden);
  WriteOption("Hide_TrayIcon", hidden ? "1" : "0");
  if (hidden) {
    trayIcon_.HideIcon();
  } else {
    trayIcon_.ShowIcon(0, kTooltip);
  }
}

void CVelloranDlg::ToggleAutostart() {
  if (Host().IsChecked(kAutostart)) {
    Host().SetChecked(kAutostart, false);
    CUtilityLib::DeleteRegistryValue(RegistryRoot::CurrentUser, kRunKey, kRunValue);
    return;
  }
  Host().SetChecked(kAutostart, true);
  const std::string executable = CUtilityLib::Get().ExecutablePath().substr(0, kRunValueBuffer);
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, kRunKey, kRunValue,
                             "\"" + executable + "\" startup");
}

void CVelloranDlg::OnDestroy() {
  trayIcon_.HideIcon();
  hookLibrary_.StopAndUnload(Host().Window());
  CUtilityLib::DeleteRegistryValue(RegistryRoot::CurrentUser, registry_name::kAppKey,
                                   registry_name::kMainWindow);
}
