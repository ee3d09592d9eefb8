// What the engine asks about windows: whether one lives, the focus, the one under the cursor,
// class names, children, the one in front and the program it belongs to.
#include "hook/win32/Win32HookPlatform.h"

#include <string>

#include "common/win32/ProgramOfWindow.h"
#include "hook/win32/WindowHandleCasts.h"

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

WindowHandle Win32HookPlatform::ForegroundWindow() {
  return FromWindow(GetForegroundWindow());
}

HookPlatform::WindowProgram Win32HookPlatform::ProgramOfWindow(WindowHandle handle) {
  ProgramFile program = ProgramFileOfWindow(ToWindow(handle));
  return {std::u16string(program.name.begin(), program.name.end()), program.settled};
}

HookPlatform::DragDistance Win32HookPlatform::DragThreshold() {
  return {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)};
}
