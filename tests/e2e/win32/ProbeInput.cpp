// Keys and clicks as the user gives them, replayed with SendInput.
#include "tests/e2e/win32/ProbeInput.h"

#include <cstdlib>

#include "tests/e2e/win32/CheckInput.h"
#include "tests/e2e/win32/ProbePump.h"

INPUT KeyEvent(WORD key, bool up) {
  INPUT event{};
  event.type = INPUT_KEYBOARD;
  event.ki.wVk = key;
  event.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  event.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return event;
}

void PressKeys(const std::vector<WORD>& keys) {
  for (const WORD key : keys) {
    INPUT input[2] = {KeyEvent(key, false), KeyEvent(key, true)};
    SendInput(2, input, sizeof(INPUT));
  }
}

void PressKey(WORD key, WORD scanCode) {
  SendKeyTap(key, scanCode);
}

std::vector<WORD> VirtualKeys(int argc, const char* const* argv, int first) {
  std::vector<WORD> keys;
  for (int i = first; i < argc; ++i) {
    keys.push_back(static_cast<WORD>(std::strtoul(argv[i], nullptr, 16)));
  }
  return keys;
}

void PressChord(const std::vector<WORD>& keys) {
  std::vector<INPUT> input;
  for (const WORD key : keys) input.push_back(KeyEvent(key, false));
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) input.push_back(KeyEvent(*key, true));
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// A click as the mouse gives it: the pointer moves onto the control, the button goes down and
// up. The window comes to the front first, as the user's first click would bring it.
bool ClickInto(HWND window, HWND control) {
  SetForegroundWindow(window);
  RECT area{};
  GetWindowRect(control, &area);
  const int x = (area.left + area.right) / 2;
  const int y = (area.top + area.bottom) / 2;
  INPUT input[3] = {};
  input[0].type = INPUT_MOUSE;
  input[0].mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input[0].mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].type = INPUT_MOUSE;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[2].type = INPUT_MOUSE;
  input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, input, sizeof(INPUT));
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return PumpUntil(
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus == control;
      },
      10000);
}

void ClickAtPoint(POINT point, int clicks) {
  std::vector<INPUT> input(1 + 2 * static_cast<std::size_t>(clicks));
  input[0].type = INPUT_MOUSE;
  input[0].mi.dx = point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input[0].mi.dy = point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  for (std::size_t i = 1; i < input.size(); ++i) {
    input[i].type = INPUT_MOUSE;
    input[i].mi.dwFlags = i % 2 == 1 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}
