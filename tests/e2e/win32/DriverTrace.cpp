// The trace lines of the scenario driver: one line each, and the key and mouse events that
// reached the system.
#include "tests/e2e/win32/DriverTrace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

void Emit(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vprintf(format, arguments);
  va_end(arguments);
  std::fputc('\n', stdout);
}

namespace {

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x", value & 0xFFu);
  return text;
}

}  // namespace

void TraceKeyboard(WPARAM message, const KBDLLHOOKSTRUCT* event) {
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  Emit("key %s %s/%s%s%s", down ? "down" : "up", Hex2(event->vkCode).c_str(),
       Hex2(event->scanCode).c_str(), (event->flags & LLKHF_EXTENDED) ? " ext" : "",
       event->dwExtraInfo == kDriverTag ? "" : " injected");
}

void TraceMouse(WPARAM message, const MSLLHOOKSTRUCT* event) {
  {
    const char* injected = event->dwExtraInfo == kDriverTag ? "" : " injected";
    switch (message) {
      case WM_LBUTTONDOWN:
        Emit("mouse left down%s", injected);
        break;
      case WM_LBUTTONUP:
        Emit("mouse left up%s", injected);
        break;
      case WM_MBUTTONDOWN:
        Emit("mouse middle down%s", injected);
        break;
      case WM_MBUTTONUP:
        Emit("mouse middle up%s", injected);
        break;
      case WM_RBUTTONDOWN:
        Emit("mouse right down%s", injected);
        break;
      case WM_RBUTTONUP:
        Emit("mouse right up%s", injected);
        break;
      case WM_MOUSEWHEEL:
        Emit("wheel %d%s", static_cast<short>(HIWORD(event->mouseData)), injected);
        break;
      default:
        break;
    }
  }
}
