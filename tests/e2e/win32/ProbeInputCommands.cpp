// ui-probe's commands that press keys, and those that show what an edit box of the probe's own
// receives from keys and clicks (what the hook library made of them).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "tests/e2e/win32/ProbeCommands.h"
#include "tests/e2e/win32/ProbeInput.h"
#include "tests/e2e/win32/ProbePump.h"
#include "tests/e2e/win32/ProbeText.h"
#include "tests/e2e/win32/ProbeWindows.h"

namespace {

// Pressed after what a test types: no rule of the tests names it and an edit box types nothing
// for it. Input arrives in order, and the characters a key makes are posted messages, which a
// thread takes before later input: once this key reached the edit box's thread, everything the
// keys before it made (a key the hook library injects for them, one given out twice) is there.
constexpr WORD kSentinelKey = VK_F24;

// Handles this thread's messages until the sentinel key arrives (true) or `waitMs` has passed.
bool PumpUntilSentinel(int waitMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(waitMs);
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_KEYDOWN && message.wParam == kSentinelKey) return true;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

// What a focused edit box of this program receives from `act` (keys pressed, a mouse button
// clicked): a hook library that remaps input shows here what the system made of it.
int ReceiveHere(const std::function<void()>& act) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const HWND window = CreateWindowExW(0, L"#32770", L"ui-probe edit", WS_POPUP | WS_CAPTION, 50, 50,
                                      300, 80, nullptr, nullptr, instance, nullptr);
  const HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200,
                                    24, window, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(edit);
  if (!PumpUntil([&] { return GetForegroundWindow() == window && GetFocus() == edit; }, 10000)) {
    std::fprintf(stderr, "ui-probe: the edit box did not get the focus\n");
    return 1;
  }
  act();
  PressKeys({kSentinelKey});
  const bool complete = PumpUntilSentinel(10000);
  if (!complete) std::fprintf(stderr, "ui-probe: the key pressed last never arrived\n");
  std::printf("%s\n", Utf8(ControlText(edit)).c_str());
  DestroyWindow(window);
  return complete ? 0 : 1;
}

int TypeHere(const std::vector<WORD>& keys) {
  return ReceiveHere([&] { PressKeys(keys); });
}

// The middle button clicked while the keys are held, as a user holding Shift clicks it.
int MiddleClickHere(const std::vector<WORD>& held) {
  return ReceiveHere([&] {
    std::vector<INPUT> input;
    for (const WORD key : held) input.push_back(KeyEvent(key, false));
    for (const DWORD flag : {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}) {
      INPUT button{};
      button.type = INPUT_MOUSE;
      button.mi.dwFlags = flag;
      input.push_back(button);
    }
    for (auto key = held.rbegin(); key != held.rend(); ++key) input.push_back(KeyEvent(*key, true));
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
  });
}

}  // namespace

std::optional<int> RunInputCommand(const std::string& command, int argc, const char* const* argv) {
  if (command == "chord" && argc >= 3) {
    PressChord(VirtualKeys(argc, argv, 2));
    return 0;
  }
  if (command == "keys" && argc >= 3) {
    PressKeys(VirtualKeys(argc, argv, 2));
    return 0;
  }
  if (command == "key" && argc == 4) {
    PressKey(static_cast<WORD>(std::strtoul(argv[2], nullptr, 16)),
             static_cast<WORD>(std::strtoul(argv[3], nullptr, 16)));
    return 0;
  }
  if (command == "type-here" && argc >= 3) {
    return TypeHere(VirtualKeys(argc, argv, 2));
  }
  if (command == "middle-click-here" && argc >= 2) {
    return MiddleClickHere(VirtualKeys(argc, argv, 2));
  }
  return std::nullopt;
}
