// The input of the script's lines, replayed with SendInput; what is still down released before
// a scenario; the events held for the library's next injection, played from inside its
// keybd_event and mouse_event calls.
#include "tests/e2e/win32/DriverInput.h"

#include <algorithm>

#include "tests/e2e/win32/DriverClock.h"
#include "tests/e2e/win32/DriverTrace.h"
#include "tests/e2e/win32/WineDesktop.h"

decltype(&keybd_event) g_realKeyEvent = nullptr;
decltype(&mouse_event) g_realMouseEvent = nullptr;
std::vector<INPUT> g_duringInjection;

void PlayDuringInjection() {
  std::vector<INPUT> waiting;
  waiting.swap(g_duringInjection);
  for (INPUT& input : waiting) {
    StampInput();
    StampInput();
    SendInput(1, &input, sizeof input);
  }
}

void WINAPI WatchKeyEvent(BYTE key, BYTE scan, DWORD flags, ULONG_PTR extra) {
  PlayDuringInjection();
  StampInput();
  g_realKeyEvent(key, scan, flags, extra);
}

void WINAPI WatchMouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra) {
  PlayDuringInjection();
  StampInput();
  g_realMouseEvent(flags, dx, dy, data, extra);
}

void ReleaseEverything() {
  for (int key = 1; key < 256; ++key) {
    if ((GetAsyncKeyState(key) & 0x8000) == 0) continue;
    INPUT input{};
    switch (key) {
      case VK_LBUTTON:
        input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        break;
      case VK_RBUTTON:
        input.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        break;
      case VK_MBUTTON:
        input.mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
        break;
      default:
        break;
    }
    if (input.mi.dwFlags != 0) {
      input.type = INPUT_MOUSE;
    } else {
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = static_cast<WORD>(key);
      const bool extended =
          key == VK_RCONTROL || key == VK_RMENU || key == VK_LWIN || key == VK_RWIN;
      input.ki.dwFlags = KEYEVENTF_KEYUP | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    }
    SendInput(1, &input, sizeof input);
  }
}

// Windows calls the low-level hooks before SendInput returns, so this is how long the hooks
// held the input.
void WineDesktop::Send(INPUT input) {
  const ULONGLONG started = GetTickCount64();
  StampInput();
  SendInput(1, &input, sizeof input);
  const ULONGLONG took = GetTickCount64() - started;
  if (took > longestInputMs_) longestInputMs_ = took;
  // What this event's hook call posted happened before the held event arrives (tastron-sim
  // traces a post when it is made): shown first.
  if (!g_duringInjection.empty()) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) Handle(message);
  }
  PlayDuringInjection();
}

INPUT WineDesktop::ToInput(const Input& event) {
  static constexpr DWORD kFlags[3][2] = {{MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN},
                                         {MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_MIDDLEDOWN},
                                         {MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN}};
  INPUT input{};
  switch (event.kind) {
    case Input::Kind::Key:
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = event.key.virtualKey;
      input.ki.wScan = event.key.scanCode;
      input.ki.dwFlags =
          (event.extended ? KEYEVENTF_EXTENDEDKEY : 0) | (event.down ? 0 : KEYEVENTF_KEYUP);
      input.ki.dwExtraInfo = kDriverTag;
      break;
    case Input::Kind::Button:
      input.type = INPUT_MOUSE;
      input.mi.dwFlags = kFlags[static_cast<int>(event.button)][event.down ? 1 : 0];
      input.mi.dwExtraInfo = kDriverTag;
      break;
    case Input::Kind::Wheel:
      input.type = INPUT_MOUSE;
      input.mi.dwFlags = MOUSEEVENTF_WHEEL;
      input.mi.mouseData = static_cast<DWORD>(static_cast<LONG>(event.delta));
      input.mi.dwExtraInfo = kDriverTag;
      break;
  }
  return input;
}

void WineDesktop::Key(KeyCodePair key, bool extended, bool down) {
  Input event;
  event.kind = Input::Kind::Key;
  event.key = key;
  event.extended = extended;
  event.down = down;
  Send(ToInput(event));
}

void WineDesktop::MouseButton(Button button, bool down) {
  Input event;
  event.kind = Input::Kind::Button;
  event.button = button;
  event.down = down;
  Send(ToInput(event));
}

void WineDesktop::Wheel(std::int16_t delta) {
  Input event;
  event.kind = Input::Kind::Wheel;
  event.delta = delta;
  Send(ToInput(event));
}

// A movement by so many pixels goes to an absolute point, so that no pointer acceleration
// changes the distance the library sees; a plain "move" goes nowhere. The point is reckoned
// from where the driver put the cursor, not from GetCursorPos: under load Wine still reports
// the place before movements the hooks are busy with, and the library would see a jump. The
// cursor stays on the screen, as the system keeps it.
void WineDesktop::Move(std::int32_t dx, std::int32_t dy) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  input.mi.dwExtraInfo = kDriverTag;
  if (dx != 0 || dy != 0) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const LONG x = std::clamp<LONG>(pointer_.x + dx, 0, width - 1);
    const LONG y = std::clamp<LONG>(pointer_.y + dy, 0, height - 1);
    pointer_ = {x, y};
    // The centre of pixel x in the 0..65535 range of an absolute movement.
    input.mi.dx = static_cast<LONG>((x * 65536LL + 32768) / width);
    input.mi.dy = static_cast<LONG>((y * 65536LL + 32768) / height);
    input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
  }
  Send(input);
}
