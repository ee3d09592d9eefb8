#pragma once

#include <windows.h>

// The device tool's runs take turns across the session: the hook library's worker and the main
// program's own repair hold this while one run and its rule-file note happen, so that an
// "enable" never overtakes a "disable" asked for before it, nor the other way round. A run may
// take a minute; a turn is waited for a little longer than that and then taken anyway, since a
// holder that hangs must not keep the mouse off for good.
class DeviceToolTurn {
 public:
  DeviceToolTurn() : mutex_(CreateMutexA(nullptr, FALSE, "Local\\TastronDeviceToolRuns")) {
    if (mutex_ == nullptr) return;
    const DWORD waited = WaitForSingleObject(mutex_, kLongestWaitMs);
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
  ~DeviceToolTurn() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  DeviceToolTurn(const DeviceToolTurn&) = delete;
  DeviceToolTurn& operator=(const DeviceToolTurn&) = delete;

  // How long one run may go on before the next starts anyway.
  static constexpr DWORD kLongestRunMs = 60000;

 private:
  static constexpr DWORD kLongestWaitMs = kLongestRunMs + 10000;
  HANDLE mutex_;
  bool owned_ = false;
};
