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

HWINEVENTHOOK HookEvent(DWORD event, HWND window, UINT message) {
  const HWINEVENTHOOK hook =
      SetWinEventHook(event, event, nullptr, ForegroundChanged, 0, 0, WINEVENT_OUTOFCONTEXT);
  if (hook != nullptr) Watchers()[hook] = {window, message};
  return hook;
}

void Unhook(HWINEVENTHOOK hook) {
  if (hook == nullptr) return;
  UnhookWinEvent(hook);
  Watchers().erase(hook);
}

class ForegroundWatch final : public Watch {
 public:
  ForegroundWatch(HWINEVENTHOOK foreground, HWINEVENTHOOK restored)
      : foreground_(foreground), restored_(restored) {}
  ~ForegroundWatch() override {
    Unhook(foreground_);
    Unhook(restored_);
  }
  ForegroundWatch(const ForegroundWatch&) = delete;
  ForegroundWatch& operator=(const ForegroundWatch&) = delete;

 private:
  HWINEVENTHOOK foreground_;
  HWINEVENTHOOK restored_;
};

}  // namespace

// A window restored from the taskbar has been seen to come to the front without its
// EVENT_SYSTEM_FOREGROUND, so its EVENT_SYSTEM_MINIMIZEEND counts as a change too (a question
// too many costs nothing; one too few leaves the line wrong until the next switch).
std::unique_ptr<Watch> WatchForegroundFor(HWND window, UINT message) {
  const HWINEVENTHOOK foreground = HookEvent(EVENT_SYSTEM_FOREGROUND, window, message);
  if (foreground == nullptr) return nullptr;
  return std::make_unique<ForegroundWatch>(foreground,
                                           HookEvent(EVENT_SYSTEM_MINIMIZEEND, window, message));
}
