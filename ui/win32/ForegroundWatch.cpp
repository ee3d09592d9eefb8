#include "ui/win32/ForegroundWatch.h"

#include <map>
#include <utility>

namespace {

// The callback has no context argument: the hook's handle finds the window to tell. Only the
// thread that made the hooks is called, and only from its message loop, so no lock is needed.
std::map<HWINEVENTHOOK, std::pair<HWND, UINT>>& Watchers() {
  static std::map<HWINEVENTHOOK, std::pair<HWND, UINT>> watchers;
  return watchers;
}

void CALLBACK ForegroundChanged(HWINEVENTHOOK hook, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  const auto found = Watchers().find(hook);
  if (found != Watchers().end()) PostMessageW(found->second.first, found->second.second, 0, 0);
}

class ForegroundWatch final : public Watch {
 public:
  explicit ForegroundWatch(HWINEVENTHOOK hook) : hook_(hook) {}
  ~ForegroundWatch() override {
    UnhookWinEvent(hook_);
    Watchers().erase(hook_);
  }
  ForegroundWatch(const ForegroundWatch&) = delete;
  ForegroundWatch& operator=(const ForegroundWatch&) = delete;

 private:
  HWINEVENTHOOK hook_;
};

}  // namespace

std::unique_ptr<Watch> WatchForegroundFor(HWND window, UINT message) {
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, ForegroundChanged,
                      0, 0, WINEVENT_OUTOFCONTEXT);
  if (hook == nullptr) return nullptr;
  Watchers()[hook] = {window, message};
  return std::make_unique<ForegroundWatch>(hook);
}
