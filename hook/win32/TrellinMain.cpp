// trellin_192.dll: the library's state, the hook procedures and the exports around the engine.
#include <windows.h>

#include "hook/HookEngine.h"
#include "hook/win32/TrellinExports.h"
#include "hook/win32/Win32HookPlatform.h"

namespace {

// This process's own state: no other process can reach it. Only the process that owns the hooks
// changes it (the others' calls of the exports change nothing); the shared section holds the
// owner's identity alone (SharedOwner.cpp).
HookState g_state;

HINSTANCE g_module = nullptr;  // this process's instance of the library
HookLocalState g_local;

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);
void CALLBACK WatchdogTick(HWND, UINT, UINT_PTR, DWORD);
void CALLBACK TapHoldTick(HWND, UINT, UINT_PTR, DWORD);
void SessionChanged(bool locked);

Win32HookPlatform& Platform() {
  static Win32HookPlatform platform(g_module, KeyboardProc, MouseProc, WatchdogTick, TapHoldTick,
                                    SessionChanged);
  return platform;
}

HookEngine Engine() {
  return HookEngine(g_state, g_local, Platform());
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (Engine().KeyboardProcedure(code, static_cast<std::uint32_t>(wParam), event->vkCode,
                                   event->scanCode, event->flags,
                                   event->dwExtraInfo) == HookVerdict::Swallow) {
      return kSwallowedResult;
    }
  }
  return CallNextHookEx(reinterpret_cast<HHOOK>(g_state.KeyboardHook), code, wParam, lParam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    if (Engine().MouseProcedure(code, static_cast<std::uint32_t>(wParam), event->mouseData,
                                event->pt.x, event->pt.y,
                                event->dwExtraInfo) == HookVerdict::Swallow) {
      return kSwallowedResult;
    }
  }
  return CallNextHookEx(reinterpret_cast<HHOOK>(g_state.MouseHook), code, wParam, lParam);
}

void CALLBACK WatchdogTick(HWND, UINT, UINT_PTR, DWORD) {
  Engine().CheckHooksAlive();
}

void CALLBACK TapHoldTick(HWND, UINT, UINT_PTR, DWORD) {
  Engine().TapHoldTimeUp();
}

void SessionChanged(bool locked) {
  if (locked) {
    Engine().SessionLocked();
  } else {
    Engine().SessionUnlocked();
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    // Only this process's memory and one interlocked exchange on the shared section: safe under
    // the loader lock.
    Engine().ProcessDetaching();
  }
  return TRUE;
}

std::int32_t TRELLIN_API StartHook(std::int32_t hostWindow) {
  // Window handles are sign-extended 32-bit values.
  const auto handle =
      reinterpret_cast<std::uintptr_t>(reinterpret_cast<HWND>(static_cast<LONG_PTR>(hostWindow)));
  return Engine().StartHook(handle);
}

std::int32_t TRELLIN_API StopHook() {
  return Engine().StopHook();
}

void TRELLIN_API SetConfigINI(const char* path) {
  Engine().SetConfigINI(path);
}

void TRELLIN_API SetDevconPath(const char* path) {
  Engine().SetDevconPath(path);
}

void TRELLIN_API EnableHookStatue(std::int32_t enabled) {
  Engine().EnableHookStatue(enabled);
}

void TRELLIN_API UpdateValue(const HookSettings* settings) {
  Engine().UpdateValue(settings);
}
