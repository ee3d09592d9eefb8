#pragma once

#include <string>

#include "common/HookExports.h"
#include "hook/HookState.h"
#include "ui/CLoadLibrary.h"

// The main program's handle on trellin_192.dll: the six exports, and the host's use of them
// with the messages it shows when they fail.
class CHookLibrary : public CLoadLibrary {
 public:
  static constexpr const char* kFileName = "trellin_192.dll";

  // Loads the library and hands it the two paths (UTF-8 here) in the form it can open
  // (HookLibraryPaths); a path it cannot be given is told to the user once, and the program
  // runs on. When the library or an export is missing, shows "trellin_192.dll을 찾을 수가
  // 없습니다." and reports false.
  bool LoadForHost(const std::string& ruleFile, const std::string& deviceTool);
  // StartHook with the main window ("Trellin 시작시 오류가 발생되었습니다" when it fails), then
  // EnableHookStatue(1) whatever happened. Whether the hooks are in place.
  bool StartForWindow(WindowHandle mainWindow);
  // StopHook ("Trellin 호출시 오류가 발생되었습니다" when it fails), EnableHookStatue(0), unload.
  void StopAndUnload(WindowHandle mainWindow);
  // Runs a rule editor with the hooks paused, and enables them again whatever it returns.
  template <typename Editor>
  auto RunPaused(Editor&& editor) {
    enable_(0);
    // Also when the editor fails: hooks left paused would leave every key unfiltered. Not once
    // the library is gone: an instance that took over had this one let go meanwhile.
    struct Resume {
      CHookLibrary& library;
      ~Resume() {
        if (library.IsLoaded()) library.enable_(1);
      }
    } resume{*this};
    return editor();
  }
  // The user's own pause (the tray menu), which only the user ends: EnableHookStatue 2 or 3.
  // The library tells the window with 0x46A when it took effect.
  void SetUserPause(bool paused) {
    if (IsLoaded()) enable_(paused ? hook_enable::kUserPause : hook_enable::kUserResume);
  }
  // Nothing once the library is unloaded: an edit that loses its focus while the window is
  // destroyed still reports its text.
  void Push(const HookSettings& settings) {
    if (IsLoaded()) update_(&settings);
  }

 protected:
  // The six exports in this order; the first that is missing stops the binding.
  void Bind() override;

 private:
  StartHookFunction start_ = nullptr;
  SetConfigINIFunction setConfig_ = nullptr;
  EnableHookStatueFunction enable_ = nullptr;
  UpdateValueFunction update_ = nullptr;
  StopHookFunction stop_ = nullptr;
  SetDevconPathFunction setDevcon_ = nullptr;
};
