#include "hook/win32/Win32HookPlatform.h"

#include <shellapi.h>

#include <string>

#include "hook/HookEngine.h"
#include "hook/win32/DeviceToolRunner.h"

namespace {

HWND ToWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
WindowHandle FromWindow(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}

}  // namespace

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

std::string Win32HookPlatform::ReadRule(const char* file, std::string_view section,
                                        std::string_view key) {
  char value[255] = {};
  const DWORD length = GetPrivateProfileStringA(
      std::string(section).c_str(), std::string(key).c_str(), "", value, sizeof value, file);
  return std::string(value, length);
}

void Win32HookPlatform::WriteRule(const char* file, std::string_view section, std::string_view key,
                                  std::string_view value) {
  WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                             std::string(value).c_str(), file);
}

void Win32HookPlatform::DeleteRule(const char* file, std::string_view section,
                                   std::string_view key) {
  WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), nullptr, file);
}

void Win32HookPlatform::StartProgram(std::string_view file, std::string_view parameters, int show) {
  ShellExecuteA(nullptr, "open", std::string(file).c_str(), std::string(parameters).c_str(),
                nullptr, show);
}

void Win32HookPlatform::RunDeviceTool(const char* path, std::string_view parameters,
                                      std::chrono::milliseconds wait) {
  DeviceToolRunner::Instance().Run(path, std::string(parameters), wait);
}

void Win32HookPlatform::PostMessageTo(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam) {
  PostMessageA(ToWindow(window), message, wParam, lParam);
}

void Win32HookPlatform::BroadcastMonitorOff() {
  constexpr LPARAM kMonitorOff = 2;
  SendMessageA(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorOff);
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

bool Win32HookPlatform::IsWindow(WindowHandle window) {
  return window != 0 && ::IsWindow(ToWindow(window)) != FALSE;
}

WindowHandle Win32HookPlatform::FocusWindow() {
  return FromWindow(GetFocus());
}

WindowHandle Win32HookPlatform::WindowUnderCursor() {
  POINT point{};
  if (!GetCursorPos(&point)) return 0;
  return FromWindow(WindowFromPoint(point));
}

std::string Win32HookPlatform::ClassName(WindowHandle window) {
  char name[MAX_PATH] = {};
  const int length = GetClassNameA(ToWindow(window), name, MAX_PATH);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

WindowHandle Win32HookPlatform::FindChildWindow(WindowHandle parent, WindowHandle after,
                                                const char* className) {
  return FromWindow(FindWindowExA(ToWindow(parent), ToWindow(after), className, nullptr));
}

bool Win32HookPlatform::IsWindowVisible(WindowHandle window) {
  return ::IsWindowVisible(ToWindow(window)) != FALSE;
}
