#pragma once

#include <windows.h>

#include <string>

#include "common/win32/Win32ProgramNameText.h"
#include "hook/HookPlatform.h"
#include "hook/win32/FolderChangeSignal.h"
#include "hook/win32/RuleFileWatcher.h"
#include "hook/win32/SessionNotifications.h"

// The hook engine's platform on the real Windows API.
class Win32HookPlatform final : public HookPlatform {
 public:
  Win32HookPlatform(HINSTANCE module, HOOKPROC keyboardProc, HOOKPROC mouseProc,
                    TIMERPROC watchdogProc, TIMERPROC tapHoldProc,
                    SessionNotifications::Handler sessionChanged)
      : module_(module),
        keyboardProc_(keyboardProc),
        mouseProc_(mouseProc),
        watchdogProc_(watchdogProc),
        tapHoldProc_(tapHoldProc),
        sessions_(module, sessionChanged) {}

  HookHandle InstallHook(HookKind kind) override;
  void RemoveHook(HookHandle hook) override;
  bool IsKeyDown(std::uint8_t virtualKey) override;
  void InjectKey(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;
  void InjectMouse(std::uint32_t flags) override;
  // On the watcher's thread only, in its rounds.
  RuleFileCheck CheckRuleFile(const char* file) override;
  RuleFileRead ReadRuleFile(const char* file, std::uint64_t largest) override;
  void WatchRuleFile(const char* file, RuleCache& rules) override;
  void StopWatchingRuleFile() override { watcher_.Stop(true); }
  void StartProgram(std::string_view file, std::string_view parameters, int show) override;
  void StartOnLockWorker(std::string_view file, std::string_view parameters, int show) override;
  void RunDeviceTool(const char* path, std::string_view parameters, std::chrono::milliseconds wait,
                     const DeviceToolEntry& note, bool monitorOffWhenEnded) override;
  void PostMessageTo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
  void BroadcastMonitorOff() override;
  bool IsScreenSaverActive() override;
  void SetScreenSaverActive(bool active) override;
  std::string ExpandEnvironment(std::string_view text) override;
  bool IsWindow(WindowHandle window) override;
  WindowHandle FocusWindow() override;
  WindowHandle WindowUnderCursor() override;
  std::string ClassName(WindowHandle window) override;
  WindowHandle FindChildWindow(WindowHandle parent, WindowHandle after,
                               const char* className) override;
  bool IsWindowVisible(WindowHandle window) override;
  WindowHandle ForegroundWindow() override;
  WindowProgram ProgramOfWindow(WindowHandle window) override;
  const ProgramNameText& ProgramNames() override { return programNames_; }
  DragDistance DragThreshold() override;
  void WatchSessionChanges(bool watch) override {
    if (watch) {
      sessions_.Start();
    } else {
      sessions_.Stop();
    }
  }
  void StartHookWatchdog() override;
  void StopHookWatchdog() override;
  void StartTapHoldTimer(std::uint32_t delayMs) override;
  void StopTapHoldTimer() override;
  std::uint32_t TickCount() override { return GetTickCount(); }
  std::uint32_t LastInputTick() override;
  ProcessIdentity CurrentProcess() override;
  bool IsProcessRunning(const ProcessIdentity& process) override;
  ProcessIdentity ExchangeSharedOwner(const ProcessIdentity& expected,
                                      const ProcessIdentity& desired) override;
  void DebugLine(std::string_view line) override;

 private:
  HINSTANCE module_;
  HOOKPROC keyboardProc_;
  HOOKPROC mouseProc_;
  TIMERPROC watchdogProc_;
  UINT_PTR watchdogTimer_ = 0;
  TIMERPROC tapHoldProc_;
  UINT_PTR tapHoldTimer_ = 0;
  SessionNotifications sessions_;
  Win32ProgramNameText programNames_;
  static std::string ResolveRuleFile(const char* file);

  RuleFileWatcher watcher_;
  // The watcher's rounds alone use these.
  FolderChangeSignal ruleFolder_;    // the folder of the path the library was given
  FolderChangeSignal targetFolder_;  // the folder of the file a symbolic link points to
  std::string resolvedFrom_;
  std::string resolved_;
};
