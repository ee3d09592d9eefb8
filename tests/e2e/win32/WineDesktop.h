// The Wine desktop a scenario plays on: the real library with the driver as its host, the
// script's windows, its input and its waits.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "scenario/ScenarioDesktop.h"
#include "tests/e2e/win32/BoundLibrary.h"
#include "tests/e2e/win32/DriverDeviceTool.h"
#include "tests/e2e/win32/DriverHookGate.h"
#include "tests/e2e/win32/DriverInput.h"
#include "tests/e2e/win32/ProbeText.h"

class WineDesktop final : public ScenarioDesktop {
 public:
  bool Start(const std::string& ruleFile);
  void Stop();

  HookSettings& HostSettings() override { return settings_; }
  void PushSettings() override { library_.UpdateValue(&settings_); }
  void Enable(std::int32_t enabled) override { library_.EnableHookStatue(enabled); }
  // The script's text goes into the rule file as the editors write it: in the ANSI code page.
  void SetRule(const std::string& section, const std::string& key,
               const std::string& value) override {
    WritePrivateProfileStringA(Ansi(section).c_str(), Ansi(key).c_str(), Ansi(value).c_str(),
                               ruleFile_.c_str());
  }
  void RemoveRule(const std::string& section, const std::string& key) override {
    WritePrivateProfileStringA(Ansi(section).c_str(), Ansi(key).c_str(), nullptr,
                               ruleFile_.c_str());
  }
  void RemoveRuleSection(const std::string& section) override {
    WritePrivateProfileStringA(Ansi(section).c_str(), nullptr, nullptr, ruleFile_.c_str());
  }
  void LoadRuleFile(const std::string& bytes) override;
  void Key(KeyCodePair key, bool extended, bool down) override;
  void MouseButton(Button button, bool down) override;
  void Wheel(std::int16_t delta) override;
  void Move(std::int32_t dx, std::int32_t dy) override;
  void DuringInjection(const Input& input) override { g_duringInjection.push_back(ToInput(input)); }
  void Finish() override { PlayDuringInjection(); }
  bool HasWindow(const std::string& name) const override;
  void DeclareWindow(const std::string& name, const std::string& className, bool hidden,
                     const std::string* parentName, const std::string* program) override;
  void Foreground(const std::string& name) override;
  void Focus(const std::string& name) override { SetFocus(name.empty() ? nullptr : Find(name)); }
  void Cursor(const std::string& name) override;
  void ScreenSaver(bool active) override {
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0);
  }
  void HostGone() override { DestroyWindow(host_); }
  void Wait(std::chrono::milliseconds duration) override;
  void HooksRemoved(HookSet hooks) override {
    if (hooks != HookSet::Mouse) g_gate.removed[0] = true;
    if (hooks != HookSet::Keyboard) g_gate.removed[1] = true;
    g_gate.reinstallExpected = true;
  }
  void SessionLock() override;
  void SessionUnlock() override;
  void Settle() override;
  void Handle(const MSG& message);

  ULONGLONG LongestInputMs() const { return longestInputMs_; }

 private:
  // The host window; false, with the reason on standard error, when it cannot be made.
  bool CreateHost();
  // The pad under the resting cursor and the window in front when no window of the script is.
  void CreatePads();
  HWND Find(const std::string& name) const;
  HWND StartProgramWindow(const std::string& program, const std::string& name,
                          const std::string& className, bool hidden, int x, int y);
  std::string NameOf(HWND window) const;
  static INPUT ToInput(const Input& input);
  // One input line's event; an event still waiting for an injection follows it.
  void Send(INPUT input);

  BoundLibrary library_;
  HookSettings settings_{};
  std::string ruleFile_;
  HWND host_ = nullptr;
  HWND pad_ = nullptr;     // where the cursor rests when the scenario puts it over no window
  HWND nobody_ = nullptr;  // in front when the scenario puts no window there
  // Where the driver put the cursor last. Wine's GetCursorPos tells the position of the input
  // the hooks have finished with, which lags behind what was sent while the hooks are busy.
  POINT pointer_{};
  HHOOK seenKeyboard_ = nullptr;
  HHOOK seenMouse_ = nullptr;
  std::map<std::string, HWND> windows_;  // by lower-case name
  int topLevelCount_ = 0;
  std::map<HWND, int> childCount_;
  std::vector<HANDLE> standIns_;      // the programs owning `program EXE` windows
  std::vector<HWND> standInWindows_;  // and their windows
  ULONGLONG longestInputMs_ = 0;
  DeviceToolTrace toolTrace_;
};
