#pragma once

#include <string>

#include "app/AwayWatchdog.h"
#include "app/CHookLibrary.h"
#include "ui/CResizeDlg.h"

// The main window. Its construction belongs to start-up: it works out every path, switches on
// mouse devices an earlier run left off, and loads the hook library before any window exists.
class CVelloranDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 102;
  static constexpr int kIconId = 128;
  static constexpr int kExitButton = 1012;

  explicit CVelloranDlg(WindowHandle parent);

  // False when the hook library could not be loaded: the process must end.
  bool HookLibraryLoaded() const { return hookLibraryLoaded_; }
  const std::string& AppDataFolder() const { return appDataFolder_; }
  const std::string& RuleFile() const { return ruleFile_; }
  const std::string& VersionText() const { return versionText_; }
  const std::string& DeviceTool() const { return deviceTool_; }

 protected:
  bool OnInitDialog() override;
  // "숨기기" hides the window; a second start brings it back.
  void OnOK() override { Host().Show(show_state::kHide); }

 private:
  std::intptr_t OnBringToFront();
  void OnDestroy();

  std::string versionFile_;
  std::string versionText_;
  std::string appDataFolder_;
  std::string ruleFile_;
  std::string deviceTool_;
  bool keyCodeDisplay_ = false;
  CHookLibrary hookLibrary_;
  AwayWatchdog watchdog_{ruleFile_, deviceTool_};
  bool hookLibraryLoaded_ = false;
};
