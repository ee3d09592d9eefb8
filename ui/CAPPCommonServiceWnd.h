#pragma once

#include <cstdint>
#include <string>

// The maker's common service window: the program identifies itself to it and asks it for
// version alarms, notices and a usage log. Tastron keeps what it is told and shows nothing.
class CAPPCommonServiceWnd {
 public:
  static CAPPCommonServiceWnd& Instance();

  void SetServiceID(const std::string& id, const std::string& name, unsigned delayMs) {
    id_ = id;
    name_ = name;
    delayMs_ = delayMs;
  }
  bool HasWindow() const { return window_ != 0; }
  // The service window is a hidden child of the given top-level window; it shows nothing.
  void CreateHiddenWindow(std::uintptr_t topLevelWindow) { window_ = topLevelWindow; }
  void SetAppIcon(int iconResource) { icon_ = iconResource; }
  void ShowVersionAlarm() {}
  void ShowNoticeDialog() {}
  void MakeServiceLog() {}

  const std::string& Id() const { return id_; }
  const std::string& Name() const { return name_; }
  unsigned DelayMs() const { return delayMs_; }

 private:
  std::string id_;
  std::string name_;
  unsigned delayMs_ = 0;
  int icon_ = 0;
  std::uintptr_t window_ = 0;
};
