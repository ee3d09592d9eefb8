// Keys pressed through the library, seen by a hook after the library's.
#include "tests/e2e/win32/LibraryCheckKeys.h"

#include "tests/e2e/win32/CheckInput.h"

namespace {

// What reached the system through the library (this hook runs after the library's).
std::vector<DWORD> g_keysDown;

}  // namespace

LRESULT CALLBACK SeenKeyboard(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
    g_keysDown.push_back(reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode);
  }
  return CallNextHookEx(nullptr, code, message, data);
}

void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < milliseconds);
}

std::vector<DWORD> Press(WORD virtualKey, WORD scanCode) {
  g_keysDown.clear();
  SendKeyTap(virtualKey, scanCode);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  return g_keysDown;
}

bool APresses(WORD target) {
  const std::vector<DWORD> down = Press('A', 0x1E);
  return down.size() == 1 && down[0] == target;
}

// The library's watcher reads a changed rule file away from the hook, so a change applies a
// moment later: A is pressed until it gives `target`, for at most 5 s.
bool AppliesSoon(WORD target) {
  const DWORD start = GetTickCount();
  while (!APresses(target)) {
    if (GetTickCount() - start >= 5000) return false;
    Pump(20);
  }
  return true;
}

bool CapsLockPasses() {
  const std::vector<DWORD> down = Press(VK_CAPITAL, 0x3A);
  return !down.empty();
}
