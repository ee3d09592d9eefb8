// The hooks, input injection, the watchdog's timer and the process's identity; program starts,
// the rule file and window queries have files of their own.
#include "hook/win32/Win32HookPlatform.h"

#include <string>

#include "hook/HookEngine.h"
#include "hook/win32/ProcessIdentities.h"
#include "hook/win32/SharedOwner.h"
#include "hook/win32/WindowHandleCasts.h"

HookHandle Win32HookPlatform::InstallHook(HookKind kind) {
  const HHOOK hook = kind == HookKind::Keyboard
                         ? SetWindowsHookExA(WH_KEYBOARD_LL, keyboardProc_, module_, 0)
                         : SetWindowsHookExA(WH_MOUSE_LL, mouseProc_, module_, 0);
  return reinterpret_cast<HookHandle>(hook);
}

void Win32HookPlatform::RemoveHook(HookHandle hook) {
  if (hook != 0) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook));
}

bool Win32HookPlatform::IsKeyDown(std::uint8_t virtualKey) {
  return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

void Win32HookPlatform::InjectKey(std::uint8_t virtualKey, std::uint8_t scanCode,
                                  std::uint32_t flags) {
  keybd_event(virtualKey, scanCode, flags, kLibraryInjectionTag);
}

void Win32HookPlatform::InjectMouse(std::uint32_t flags) {
  mouse_event(flags, 0, 0, 0, kLibraryInjectionTag);
}

void Win32HookPlatform::PostMessageTo(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam) {
  PostMessageA(ToWindow(window), message, wParam, lParam);
}

bool Win32HookPlatform::IsScreenSaverActive() {
  BOOL active = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  return active != FALSE;
}

void Win32HookPlatform::SetScreenSaverActive(bool active) {
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0);
}

std::string Win32HookPlatform::ExpandEnvironment(std::string_view text) {
  char expanded[MAX_PATH] = {};
  const DWORD length = ExpandEnvironmentStringsA(std::string(text).c_str(), expanded, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return std::string(text);
  return expanded;
}
// A thread timer without a window: the host's message loop, which the hooks need anyway,
// dispatches it on the hook thread.
void Win32HookPlatform::StartHookWatchdog() {
  if (watchdogTimer_ == 0)
    watchdogTimer_ = SetTimer(nullptr, 0, kHookWatchdogPeriodMs, watchdogProc_);
}

void Win32HookPlatform::StopHookWatchdog() {
  if (watchdogTimer_ != 0) KillTimer(nullptr, watchdogTimer_);
  watchdogTimer_ = 0;
}

// Thread timers repeat: the engine stops this one when it fires.
void Win32HookPlatform::StartTapHoldTimer(std::uint32_t delayMs) {
  StopTapHoldTimer();
  tapHoldTimer_ = SetTimer(nullptr, 0, delayMs, tapHoldProc_);
}

void Win32HookPlatform::StopTapHoldTimer() {
  if (tapHoldTimer_ != 0) KillTimer(nullptr, tapHoldTimer_);
  tapHoldTimer_ = 0;
}

std::uint32_t Win32HookPlatform::LastInputTick() {
  LASTINPUTINFO info{};
  info.cbSize = sizeof info;
  // Without an answer, the input counts as seen: nothing to do.
  return GetLastInputInfo(&info) ? info.dwTime : GetTickCount() - 1000000;
}

ProcessIdentity Win32HookPlatform::CurrentProcess() {
  static const ProcessIdentity self = IdentityOfThisProcess();
  return self;
}

bool Win32HookPlatform::IsProcessRunning(const ProcessIdentity& process) {
  return IsStillRunning(process);
}

ProcessIdentity Win32HookPlatform::ExchangeSharedOwner(const ProcessIdentity& expected,
                                                       const ProcessIdentity& desired) {
  return ::ExchangeSharedOwner(expected, desired);
}

void Win32HookPlatform::DebugLine(std::string_view line) {
  OutputDebugStringA((std::string(line) + "\n").c_str());
}
