// ui-probe's commands on top-level windows: waiting for one (set up, drawn), its title, state and
// place, message boxes, messages sent and posted, the tray icon's click.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "tests/e2e/win32/ProbeCommands.h"
#include "tests/e2e/win32/ProbePump.h"
#include "tests/e2e/win32/ProbeText.h"
#include "tests/e2e/win32/ProbeWindows.h"

namespace {

BOOL CALLBACK FindStaticText(HWND child, LPARAM data) {
  wchar_t className[64] = {};
  GetClassNameW(child, className, 64);
  if (_wcsicmp(className, L"Static") == 0 && GetWindowTextLengthW(child) > 0) {
    *reinterpret_cast<std::wstring*>(data) = Title(child);
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindButton(HWND child, LPARAM data) {
  wchar_t className[64] = {};
  GetClassNameW(child, className, 64);
  if (_wcsicmp(className, L"Button") == 0) {
    *reinterpret_cast<HWND*>(data) = child;
    return FALSE;
  }
  return TRUE;
}

// Whether the window or a visible child of it still has something to paint.
BOOL CALLBACK FindUnpainted(HWND child, LPARAM data) {
  if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(data) = true;
  return FALSE;
}

bool NothingToPaint(HWND window) {
  if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
  bool unpainted = false;
  EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

// Drawn: nothing left to paint, and its thread answered a message after that (a thread answers
// only between the messages it handles, so a paint under way has ended by then).
bool Drawn(HWND window) {
  DWORD_PTR answer = 0;
  return NothingToPaint(window) &&
         SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) != 0 &&
         NothingToPaint(window);
}

}  // namespace

std::optional<int> RunWindowCommand(const std::string& command, int argc, const char* const* argv) {
  if (command == "wait-window" && argc == 4) {
    const HWND window = Find(argv[2], false, false, std::atoi(argv[3]));
    if (window == nullptr) return 1;
    // A dialog is among the windows while it is still being set up (its boxes not yet checked);
    // its thread answers a message only once that is done.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    return 0;
  }
  if (command == "title" && (argc == 3 || argc == 4)) {
    const HWND window = Find(argv[2], false, false, argc == 4 ? std::atoi(argv[3]) : 0);
    if (window == nullptr) {
      std::fprintf(stderr, "ui-probe: no window titled \"%s...\"\n", argv[2]);
      return 1;
    }
    std::printf("%s\n", Utf8(Title(window)).c_str());
    return 0;
  }
  if (command == "message-box" && (argc == 4 || argc == 5)) {
    const HWND box = Find(argv[2], true, true, std::atoi(argv[3]));
    if (box == nullptr) return 1;
    std::wstring text;
    EnumChildWindows(box, FindStaticText, reinterpret_cast<LPARAM>(&text));
    std::printf("%s\n", Utf8(text).c_str());
    HWND button = argc == 5 ? GetDlgItem(box, std::atoi(argv[4])) : nullptr;
    if (button == nullptr) EnumChildWindows(box, FindButton, reinterpret_cast<LPARAM>(&button));
    if (button != nullptr) Press(box, button);
    return 0;
  }
  if (command == "send" && argc >= 4 && argc <= 6) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    const WPARAM wParam = argc >= 5 ? std::strtoul(argv[4], nullptr, 0) : 0;
    const LPARAM lParam = argc == 6 ? std::strtol(argv[5], nullptr, 0) : 0;
    const LRESULT answer =
        SendMessageW(window, static_cast<UINT>(std::strtoul(argv[3], nullptr, 0)), wParam, lParam);
    std::printf("0x%llx\n", static_cast<unsigned long long>(answer));
    return 0;
  }
  if (command == "visible" && argc == 3) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    std::printf("%d\n", IsWindowVisible(window) ? 1 : 0);
    return 0;
  }
  if ((command == "tray-click" || command == "tray-menu") && argc == 3) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND icon =
        window != nullptr ? FindWindowExW(window, nullptr, L"TastronTrayIcon", nullptr) : nullptr;
    if (icon == nullptr) return 1;
    PostMessageW(icon, WM_APP + 1, 1, command == "tray-click" ? WM_LBUTTONUP : WM_RBUTTONUP);
    return 0;
  }
  if (command == "wait-menu" && argc == 3) {
    // A shortcut menu is a top-level window of the system's menu class while it is open.
    const ULONGLONG end = GetTickCount64() + std::strtoul(argv[2], nullptr, 10);
    do {
      const HWND menu = FindWindowW(L"#32768", nullptr);
      if (menu != nullptr && IsWindowVisible(menu)) return 0;
      Sleep(20);
    } while (GetTickCount64() < end);
    return 1;
  }
  if (command == "rect" && argc == 3) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    RECT area{};
    GetWindowRect(window, &area);
    std::printf("%ldx%ld+%ld+%ld\n", area.right - area.left, area.bottom - area.top, area.left,
                area.top);
    return 0;
  }
  if (command == "syscommand" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    PostMessageW(window, WM_SYSCOMMAND, std::strtoul(argv[3], nullptr, 0), 0);
    return 0;
  }
  if (command == "wait-drawn" && argc == 4) {
    const int waitMs = std::atoi(argv[3]);
    const HWND window = Find(argv[2], false, false, waitMs);
    return window != nullptr && PumpUntil([&] { return Drawn(window); }, waitMs) ? 0 : 1;
  }
  if (command == "window-enabled" && argc == 3) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    std::printf("%d\n", IsWindowEnabled(window) ? 1 : 0);
    return 0;
  }
  if (command == "post" && argc == 5) {
    const HWND window = Find(argv[2], false, false, 0);
    return window != nullptr &&
                   PostMessageW(window, static_cast<UINT>(std::strtoul(argv[3], nullptr, 0)),
                                std::strtoul(argv[4], nullptr, 0), 0)
               ? 0
               : 1;
  }
  if (command == "foreground" && argc == 2) {
    std::printf("%s\n", Utf8(Title(GetForegroundWindow())).c_str());
    return 0;
  }
  return std::nullopt;
}
