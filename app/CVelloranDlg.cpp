#include "app/CVelloranDlg.h"

#include <cstdio>
#include <utility>

#include "app/Autostart.h"
#include "app/CVelloranApp.h"
#include "app/ElevatedRestart.h"
#include "app/MouseRepair.h"
#include "app/OptionControls.h"
#include "app/RegistryNames.h"
#include "app/SettingsFile.h"
#include "app/TrayMenu.h"
#include "common/HostMessages.h"
#include "common/TextCase.h"
#include "editors/CAboutDlg.h"
#include "editors/CHotkeyListDlg.h"
#include "editors/CKeyChangeListDlg.h"
#include "editors/CMouseMapDlg.h"
#include "editors/CShiftMemoryHelpDlg.h"
#include "ui/CAPPCommonServiceWnd.h"
#include "ui/CUtilityLib.h"

namespace {

using namespace main_window;

constexpr unsigned kFirstRunTimer = 1000;
constexpr unsigned kFirstRunDelayMs = 100;
constexpr unsigned kStartupHideTimer = 1001;
constexpr unsigned kStartupHideDelayMs = 5000;
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

}  // namespace

CVelloranDlg::CVelloranDlg(WindowHandle parent)
    : CResizeDlg(kTemplateId, parent), paths_(AppPaths::Find()) {
  SetIcon(kIconId);
  RepairMouseDevices(paths_.ruleFile, paths_.deviceTool);
  taskbarCreated_ = CUtilityLib::Get().RegisterWindowMessageNumber("TaskbarCreated");
  hookLibraryLoaded_ = hookLibrary_.LoadForHost(paths_.ruleFile, paths_.deviceTool);
  BindHandlers();
}

// The window's controls and messages, each to what it does.
void CVelloranDlg::BindHandlers() {
  for (const OptionBox& box : kOptionBoxes) {
    OnCommand(box.id, [this, &box] {
      option_controls::Toggle(Host(), box);
      PushSettings();
    });
  }
  OnNotify(kShiftWheelDelta.id, dialog_message::kEditUpdate,
           [this] { EditUpdated(kShiftWheelDelta); });
  OnNotify(kCtrlWheelUnit.id, dialog_message::kEditUpdate, [this] { EditUpdated(kCtrlWheelUnit); });
  OnCommand(kHideTrayIcon, [this] { ToggleTrayIcon(); });
  OnCommand(kAutostart, [this] { autostart::ToggleStart(Host()); });
  OnCommand(kAutostartAsAdministrator, [this] { autostart::ToggleAsAdministrator(Host()); });
  OnCommand(kMenuAbout, [this] { CAboutDlg(paths_.versionText).DoModal(); });
  OnCommand(kKeyMapButton,
            [this] { RunEditor([this] { return CKeyChangeListDlg(paths_.ruleFile).DoModal(); }); });
  OnCommand(kHotkeyButton,
            [this] { RunEditor([this] { return CHotkeyListDlg(paths_.ruleFile).DoModal(); }); });
  OnCommand(kMouseMapButton,
            [this] { RunEditor([this] { return CMouseMapDlg(paths_.ruleFile).DoModal(); }); });
  OnCommand(kMenuExport, [this] { settings_file::Export(Host(), paths_.ruleFile); });
  OnCommand(kMenuImport, [this] {
    if (settings_file::Import(Host().Window(), paths_.ruleFile)) option_controls::Load(Host());
  });
  OnCommand(kMenuHide, [this] { HideToTray(); });
  OnCommand(kExitButton, [this] { AskThenExit(); });
  OnCommand(kMenuExit, [this] { AskThenExit(); });
  OnCommand(kMenuRestartElevated, [this] { elevated_restart::Start(Host().Window()); });
  OnMessage(host_message::kTakeOver, [this](std::uintptr_t, std::intptr_t) {
    LetGo();
    OnCancel();
    return host_message::kTakeOverAnswer;
  });
  OnLink([this](std::uintptr_t wParam, const std::string& target) {
    if (wParam == 0) PostExecute(CVXCPParser(target));
    return 1;
  });
  OnMessage(host_message::kTrayActivate, [this](std::uintptr_t, std::intptr_t) {
    Restore();
    return 1;
  });
  OnMessage(host_message::kTrayMenu, [this](std::uintptr_t, std::intptr_t) {
    ShowTrayMenu();
    return 1;
  });
  OnMessage(host_message::kBringToFront, [this](std::uintptr_t, std::intptr_t) {
    Restore();
    return host_message::kBringToFrontAnswer;
  });
  OnMessage(taskbarCreated_, [this](std::uintptr_t, std::intptr_t) {
    trayIcon_.SetUp(Host().Window(), true);
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
  OnMessage(host_message::kUserPause, [this](std::uintptr_t wParam, std::intptr_t) {
    hookState_.UserPaused(wParam != 0);
    trayIcon_.SetPaused(wParam != 0);
    ShowHookState();
    return 0;
  });
  OnMessage(host_message::kHooksInstalledAgain, [this](std::uintptr_t wParam, std::intptr_t) {
    hookState_.HooksInstalledAgain(wParam != 0, CUtilityLib::Get().ClockTime());
    ShowHookState();
    return 0;
  });
  OnMessage(host_message::kForegroundChanged, [this](std::uintptr_t, std::intptr_t) {
    OnForegroundChanged();
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
  Host().SetTitle(title + paths_.versionText);
  option_controls::Load(Host());
  service.ShowVersionAlarm();
  service.ShowNoticeDialog();
  service.MakeServiceLog();
  autostart::Show(Host());
  Host().CenterOnScreen();
  Host().Show(show_state::kShow);
  if (CVelloranApp::IsStartupLaunch(CVelloranApp::CommandLine())) {
    Host().SetTimer(kStartupHideTimer, kStartupHideDelayMs);
  }
  if (CUtilityLib::Get().Profiles().GetInt(paths_.ruleFile, "Tastron", "Startup", 0) == 0) {
    Host().SetTimer(kFirstRunTimer, kFirstRunDelayMs);
  }
  hookState_.Started(hookLibrary_.StartForWindow(Host().Window()));
  hookState_.SetElevated(CUtilityLib::Get().IsElevated());
  Host().SetChecked(kHideTrayIcon, trayIcon_.SetUp(Host().Window(), false));
  foreground_.Start(Host().Window());
  hookState_.SetOutranked(foreground_.Outranked());
  trayIcon_.SetOutranked(foreground_.Outranked());
  ShowHookState();
  return true;
}

void CVelloranDlg::EditUpdated(const NumberEdit& edit) {
  option_controls::StoreEdit(Host(), edit);
  PushSettings();
}

HookSettings CVelloranDlg::BuildSettings() {
  return option_controls::Build(Host());
}

void CVelloranDlg::OnTimer(unsigned id) {
  if (id == kFirstRunTimer) {
    Host().KillTimer(kFirstRunTimer);
    CUtilityLib::Get().Profiles().WriteString(paths_.ruleFile, "Tastron", "Startup", "1");
    CAboutDlg(paths_.versionText).DoModal();
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

void CVelloranDlg::OnForegroundChanged() {
  if (!foreground_.Update()) return;
  hookState_.SetOutranked(foreground_.Outranked());
  trayIcon_.SetOutranked(foreground_.Outranked());
  ShowHookState();
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

// The pause's item says what it will do; the banner and the tip change only once the library
// says the pause took effect (0x46A).
void CVelloranDlg::ShowTrayMenu() {
  const bool paused = hookState_.IsUserPaused();
  const bool exitPossible = Host().IsWindowEnabled();
  switch (
      CUtilityLib::Get().ShowPopupMenu(Host().Window(), tray_menu::Items(paused, exitPossible))) {
    case tray_menu::kOpen:
      Restore();
      break;
    case tray_menu::kPauseOrResume:
      hookLibrary_.SetUserPause(!paused);
      break;
    case tray_menu::kExit:
      if (exitPossible) AskThenExit();
      break;
    default:
      break;
  }
}

void CVelloranDlg::AskThenExit() {
  const int answer = CUtilityLib::Get().MessageBox(
      Host().Window(), kExitQuestion, "Tastron", message_box::kYesNo | message_box::kIconQuestion);
  if (answer == message_box::kIdYes) OnCancel();
}

void CVelloranDlg::ToggleTrayIcon() {
  const bool hidden = !Host().IsChecked(kHideTrayIcon);
  Host().SetChecked(kHideTrayIcon, hidden);
  trayIcon_.SetHidden(hidden);
}

void CVelloranDlg::OnDestroy() {
  LetGo();
}

// Once only: an instance that takes over lets go before its window is destroyed, and by then
// "Main" may be its successor's.
void CVelloranDlg::LetGo() {
  if (letGo_) return;
  letGo_ = true;
  foreground_.Stop();
  trayIcon_.Hide();
  hookLibrary_.StopAndUnload(Host().Window());
  CUtilityLib::DeleteRegistryValue(RegistryRoot::CurrentUser, registry_name::kAppKey,
                                   registry_name::kMainWindow);
}
