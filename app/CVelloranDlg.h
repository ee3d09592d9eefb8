#pragma once

#include <cstdint>
#include <string>

#include "app/AppPaths.h"
#include "app/AwayWatchdog.h"
#include "app/CHookLibrary.h"
#include "app/CMixerVolume.h"
#include "app/ForegroundRights.h"
#include "app/HookStateBanner.h"
#include "app/MainTrayIcon.h"
#include "app/MainWindowOptions.h"
#include "ui/CAPPMainAdCtrl.h"
#include "ui/CResizeDlg.h"
#include "ui/CVXCP.h"

// The main window: every option of the hook library as a check box or an edit box (kept by
// option_controls) pushed to the library as a whole block the moment one changes; the tray
// icon, hiding and autostart; the rule editors, the About and help dialogs. Its construction
// belongs to start-up: it finds every path, switches on mouse devices an earlier run left off,
// and loads the hook library before any window exists.
class CVelloranDlg : public CResizeDlg, public CVXCPCommandHandler {
 public:
  static constexpr int kTemplateId = 102;
  static constexpr int kIconId = 128;
  static constexpr int kExitButton = main_window::kExitButton;

  explicit CVelloranDlg(WindowHandle parent);

  // False when the hook library could not be loaded: the process must end.
  bool HookLibraryLoaded() const { return hookLibraryLoaded_; }
  const std::string& AppDataFolder() const { return paths_.appDataFolder; }
  const std::string& RuleFile() const { return paths_.ruleFile; }
  const std::string& VersionText() const { return paths_.versionText; }
  const std::string& DeviceTool() const { return paths_.deviceTool; }

  // The settings block as the controls hold it now.
  HookSettings BuildSettings();

  bool PreTranslateMessage(const LoopMessage& message) override;

 protected:
  bool OnInitDialog() override;
  // "숨기기" and Enter hide the window into the tray.
  void OnOK() override { HideToTray(); }
  void OnVXCPCommand(const std::string& command, const std::string& arguments) override;

 private:
  void BindHandlers();
  void EditUpdated(const main_window::NumberEdit& edit);
  void PushSettings() { hookLibrary_.Push(BuildSettings()); }
  // A rule editor, with the hooks paused and the banner saying so while it is open.
  template <typename Editor>
  void RunEditor(Editor&& editor);
  void OnAwayMode(std::uintptr_t wParam);
  void ShowHookState();
  void OnForegroundChanged();
  void OnTimer(unsigned id);
  void HideToTray();
  void Restore();
  void ShowTrayMenu();
  void AskThenExit();
  void ToggleTrayIcon();
  void OnDestroy();
  // The hooks, the tray icon and "Main" given up, as at the end.
  void LetGo();

  AppPaths paths_;
  bool keyCodeDisplay_ = false;
  std::uint32_t taskbarCreated_ = 0;
  CHookLibrary hookLibrary_;
  CMixerVolume volume_;
  AwayWatchdog watchdog_{paths_.ruleFile, paths_.deviceTool};
  MainTrayIcon trayIcon_;
  CAPPMainAdCtrl banner_;
  HookStateBanner hookState_;
  ForegroundRights foreground_;
  std::uint32_t awaySince_ = 0;  // tick count when the away mode began
  bool hookLibraryLoaded_ = false;
  bool letGo_ = false;
};
