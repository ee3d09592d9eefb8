// The hooks of the driver's that see what passed the library, and the gate in front of the
// library's hooks.
#include "tests/e2e/win32/DriverHookGate.h"

#include "tests/e2e/win32/DriverTrace.h"

Gate g_gate;
decltype(&SetWindowsHookExA) g_realSetHook = nullptr;

LRESULT CALLBACK SeenKeyboard(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) TraceKeyboard(message, reinterpret_cast<const KBDLLHOOKSTRUCT*>(data));
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK SeenMouse(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) TraceMouse(message, reinterpret_cast<const MSLLHOOKSTRUCT*>(data));
  return CallNextHookEx(nullptr, code, message, data);
}

namespace {

LRESULT CALLBACK GateKeyboard(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && (g_gate.locked || g_gate.removed[0])) {
    if (!g_gate.locked) TraceKeyboard(message, reinterpret_cast<const KBDLLHOOKSTRUCT*>(data));
    return 0;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK GateMouse(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && (g_gate.locked || g_gate.removed[1])) {
    if (!g_gate.locked) TraceMouse(message, reinterpret_cast<const MSLLHOOKSTRUCT*>(data));
    return 0;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

}  // namespace

void PlaceGate(int kind) {
  if (g_gate.hooks[kind] != nullptr) UnhookWindowsHookEx(g_gate.hooks[kind]);
  g_gate.hooks[kind] =
      g_realSetHook(kind == 0 ? WH_KEYBOARD_LL : WH_MOUSE_LL, kind == 0 ? GateKeyboard : GateMouse,
                    GetModuleHandleA(nullptr), 0);
}

HHOOK WINAPI WatchSetHook(int kind, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
  const HHOOK hook = g_realSetHook(kind, procedure, module, thread);
  const int gate = kind == WH_KEYBOARD_LL ? 0 : kind == WH_MOUSE_LL ? 1 : -1;
  if (hook != nullptr && gate >= 0) {
    g_gate.removed[gate] = false;
    if (g_gate.hooks[gate] != nullptr) PlaceGate(gate);
  }
  return hook;
}
