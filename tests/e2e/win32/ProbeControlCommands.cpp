// ui-probe's commands on a window's controls by id: buttons pressed, states and texts read and
// set, the focus moved, clicks with the real mouse.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/e2e/win32/ProbeCommands.h"
#include "tests/e2e/win32/ProbeInput.h"
#include "tests/e2e/win32/ProbePump.h"
#include "tests/e2e/win32/ProbeText.h"
#include "tests/e2e/win32/ProbeWindows.h"

namespace {

struct TextMatch {
  std::wstring prefix;
  HWND found;
};

BOOL CALLBACK FindChildByText(HWND child, LPARAM data) {
  auto* wanted = reinterpret_cast<TextMatch*>(data);
  if (Title(child).rfind(wanted->prefix, 0) != 0) return TRUE;
  wanted->found = child;
  return FALSE;
}

}  // namespace

std::optional<int> RunControlCommand(const std::string& command, int argc,
                                     const char* const* argv) {
  if (command == "click" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    const HWND button = GetDlgItem(window, std::atoi(argv[3]));
    if (button == nullptr) return 1;
    Press(window, button);
    return 0;
  }
  if ((command == "checked" || command == "enabled") && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    const bool state = command == "checked"
                           ? SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED
                           : IsWindowEnabled(control) != FALSE;
    std::printf("%d\n", state ? 1 : 0);
    return 0;
  }
  if (command == "click-text" && argc == 6) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    TextMatch match{Wide(argv[3]), nullptr};
    EnumChildWindows(window, FindChildByText, reinterpret_cast<LPARAM>(&match));
    if (match.found == nullptr) return 1;
    const LPARAM point = MAKELPARAM(std::atoi(argv[4]), std::atoi(argv[5]));
    PostMessageW(match.found, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(match.found, WM_LBUTTONUP, 0, point);
    return 0;
  }
  if (command == "focus" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    SetForegroundWindow(window);
    PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    // The focus of another thread: its GUI thread information says where it is.
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return PumpUntil(
               [&] {
                 GUITHREADINFO info{};
                 info.cbSize = sizeof info;
                 return GetForegroundWindow() == window && GetGUIThreadInfo(thread, &info) &&
                        info.hwndFocus == control;
               },
               10000)
               ? 0
               : 1;
  }
  if (command == "text" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    std::printf("%s\n", Utf8(ControlText(control)).c_str());
    return 0;
  }
  if (command == "click-at" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    return ClickInto(window, control) ? 0 : 1;
  }
  if (command == "wait-text" && argc == 6) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    const std::wstring wanted = Wide(argv[4]);
    const bool shown =
        PumpUntil([&] { return ControlText(control) == wanted; }, std::atoi(argv[5]));
    std::printf("%s\n", Utf8(ControlText(control)).c_str());
    return shown ? 0 : 1;
  }
  if (command == "set-text" && argc == 5) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    return control != nullptr && SetWindowTextW(control, Wide(argv[4]).c_str()) ? 0 : 1;
  }
  return std::nullopt;
}
