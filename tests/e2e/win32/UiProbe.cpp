// ui-probe.exe: looks at and drives the windows of other programs for the e2e tests.
//   ui-probe wait-window PREFIX MS     wait for a top-level window whose title starts so, and
//                                      for its thread to answer (a dialog is set up by then)
//   ui-probe title PREFIX [MS]         print that window's whole title (UTF-8), waiting MS for it
//   ui-probe message-box CAPTION MS [ID]  wait for a message box with that caption, print its
//                                      text (UTF-8) and press its button ID (else the first)
//   ui-probe click PREFIX ID           press the button with that id in that window
//   ui-probe send PREFIX MESSAGE [W [L]]  send the message (wParam W, lParam L, each 0 when
//                                      not given; L may be negative), print the answer
//   ui-probe foreground                print the title of the foreground window
//   ui-probe checked PREFIX ID         print 1 or 0: the check state of the box with that id
//   ui-probe enabled PREFIX ID         print 1 or 0: whether the control with that id is enabled
//   ui-probe rect PREFIX               print the window's screen rectangle as WxH+X+Y
//   ui-probe syscommand PREFIX CODE    post WM_SYSCOMMAND with that code (0xF060: close)
//   ui-probe visible PREFIX            print 1 or 0: whether that window is visible
//   ui-probe tray-click PREFIX         a left click on the window's notification-area icon, as
//                                      the shell reports it to the icon's own window
//   ui-probe click-text PREFIX TEXT X Y  click (button up) at X,Y in the static text of that
//                                      window whose own text starts with TEXT
//   ui-probe focus PREFIX ID           bring that window to the front and move its dialog's
//                                      focus to the control with that id (an edit's text is
//                                      selected, as when the user tabs into it)
//   ui-probe keys VK...                press and release each virtual key (hexadecimal) with
//                                      SendInput, as a keyboard would
//   ui-probe key VK SCAN               press and release one key with this scan code (both
//                                      hexadecimal), as a keyboard with that key sends it
//   ui-probe click-at PREFIX ID        bring the window to the front and click into the middle
//                                      of the control with that id with the real mouse
//   ui-probe window-enabled PREFIX     print 1 or 0: whether the window takes input
//   ui-probe rows PREFIX ID            print the row count of the list view with that id
//   ui-probe selected PREFIX ID        print the selected rows of that list view ("1,3"; "-")
//   ui-probe click-cell PREFIX ID ROW COLUMN [2]  click (twice: a double click) with the real
//                                      mouse into that cell of the report list with that id
//   ui-probe wait-text PREFIX ID TEXT MS  wait until the control with that id shows TEXT; print
//                                      what it shows
//   ui-probe type-here VK...           open a window of its own with an edit box in front, press
//                                      the keys there and print what the edit box received once
//                                      a key pressed after them (F24) arrived
//   ui-probe middle-click-here VK...   the same edit box; the middle button is clicked while
//                                      the keys are held; print what the edit box received
//   ui-probe post PREFIX MESSAGE W     post the message (wParam W, lParam 0): a menu command
//                                      whose handler runs a modal dialog
//   ui-probe set-text PREFIX ID TEXT   set the text of the control with that id (UTF-8)
//   ui-probe acp                       print the ANSI code page of this process
//   ui-probe ansi-path PATH            print the path as the hook library is handed it (bytes
//                                      of the ANSI code page), or "none"
//   ui-probe write-profile FILE SECTION KEY VALUE  write a profile value with the main
//                                      program's own profile code (UTF-8 arguments)
//   ui-probe chord VK...               press the keys in order and release them backwards
//   ui-probe make-shortcut LNK TARGET ARGUMENTS  save a shortcut through the shell link object
//   ui-probe drop PREFIX ID FILE...    drop the files onto the control with that id: an HDROP
//                                      built in the window's own process (drop-injector.dll,
//                                      loaded there by a remote thread) and WM_DROPFILES
//   ui-probe fit PREFIX                whether every text of that window fits in its control,
//                                      measured in the window's process with the control's
//                                      font (layout-inspector.dll); prints each text cut
//   ui-probe remove-hooks PREFIX       removes the hook library's hooks in the process of that
//                                      window, unknown to the library (hook-remover.dll)
//   ui-probe text PREFIX ID            print the window text of the control with that id
//   ui-probe wait-drawn PREFIX MS      wait until that window is visible, nothing in it is left
//                                      to paint, and its thread has answered a message since
// A PREFIX that starts with "=" names a whole title.
// Exit code 0 when it found what it looked for, 1 otherwise.
#include <windows.h>
// clang-format off
#include <commctrl.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DropRequest.h"
#include "InjectedRequest.h"
#include "ui/win32/AnsiPath.h"
#include "ui/win32/AnsiProfile.h"

namespace {

std::string Utf8(const std::wstring& text) {
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), length, nullptr, nullptr);
  result.resize(std::strlen(result.c_str()));
  return result;
}

std::wstring Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), length);
  result.resize(std::wcslen(result.c_str()));
  return result;
}

std::wstring Title(HWND window) {
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  return title;
}

struct Search {
  std::wstring text;
  bool exact;
  bool dialogOnly;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  const std::wstring title = Title(window);
  const bool matches = search->exact ? title == search->text : title.rfind(search->text, 0) == 0;
  if (!matches) return TRUE;
  if (search->dialogOnly) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wcscmp(className, L"#32770") != 0) return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND Find(const char* text, bool exact, bool dialogOnly, int waitMs) {
  if (text[0] == '=') {
    ++text;
    exact = true;
  }
  for (int waited = 0;; waited += 100) {
    Search search{Wide(text), exact, dialogOnly, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr || waited >= waitMs) return search.found;
    Sleep(100);
  }
}

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

// A button press as the dialog sees it, whether or not its window is active.
void Press(HWND dialog, HWND button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

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

std::wstring ControlText(HWND control) {
  wchar_t text[512] = {};
  SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

// A key going down or up, with the scan code of this keyboard's key.
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
  INPUT input[2] = {};
  for (INPUT& event : input) {
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = key;
    event.ki.wScan = scanCode;
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

std::vector<WORD> VirtualKeys(int argc, const char* const* argv, int first) {
  std::vector<WORD> keys;
  for (int i = first; i < argc; ++i) {
    keys.push_back(static_cast<WORD>(std::strtoul(argv[i], nullptr, 16)));
  }
  return keys;
}

// Waits, handling this thread's messages, until `done` holds or `waitMs` has passed.
template <typename Condition>
bool PumpUntil(Condition done, int waitMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(waitMs);
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
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

// Where a cell of another process's report list lies on the screen. The list's own rectangle
// messages take pointers into that process, so the cell is found from what needs none: the
// header's window, the column widths (LVM_GETCOLUMNWIDTH) and the rows a page holds.
std::optional<POINT> CellCentre(HWND list, int row, int column) {
  const HWND header = FindWindowExW(list, nullptr, L"SysHeader32", nullptr);
  RECT client{};
  RECT top{};
  if (header == nullptr || !GetClientRect(list, &client) || !GetWindowRect(header, &top)) {
    return std::nullopt;
  }
  POINT origin{0, 0};
  ClientToScreen(list, &origin);
  const int perPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  if (perPage <= 0) return std::nullopt;
  // A page holds `perPage` whole rows and less than one more.
  const double rowHeight = (origin.y + client.bottom - top.bottom) / (perPage + 0.5);
  int left = 0;
  for (int i = 0; i < column; ++i) {
    left += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
  }
  const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
  POINT centre{origin.x + left + std::min(width / 2, 40),
               top.bottom + static_cast<int>((row + 0.5) * rowHeight)};
  return centre;
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

void PressChord(const std::vector<WORD>& keys) {
  std::vector<INPUT> input;
  for (const WORD key : keys) input.push_back(KeyEvent(key, false));
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) input.push_back(KeyEvent(*key, true));
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

int MakeShortcut(const char* file, const char* target, const char* arguments) {
  CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return 1;
  }
  link->SetPath(Wide(target).c_str());
  link->SetArguments(Wide(arguments).c_str());
  IPersistFile* persist = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    saved = SUCCEEDED(persist->Save(Wide(file).c_str(), TRUE));
    persist->Release();
  }
  link->Release();
  return saved ? 0 : 1;
}

// Loads a library that lies beside the probe into the process of `window`; it does its work
// while it loads. Whether the loading thread ran to its end.
bool LoadIntoProcessOf(HWND window, const wchar_t* library) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.rfind(L'\\') + 1);
  path += library;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
  if (process == nullptr) return false;
  const std::size_t bytes = (path.size() + 1) * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
  bool ran = false;
  if (remote != nullptr && WriteProcessMemory(process, remote, path.c_str(), bytes, nullptr)) {
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    if (HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr)) {
      ran = WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0;
      CloseHandle(thread);
    }
  }
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return ran;
}

// Loads drop-injector.dll into the process of `control`, which builds the drop there from the
// request in the shared mapping.
int DropFiles(HWND control, const std::vector<std::wstring>& files) {
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(DropRequest), kDropRequestName);
  if (mapping == nullptr) return 1;
  auto* request = static_cast<DropRequest*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DropRequest)));
  if (request == nullptr) return 1;
  std::memset(request, 0, sizeof(DropRequest));
  request->button = reinterpret_cast<std::uintptr_t>(control);
  std::size_t at = 0;
  for (const std::wstring& file : files) {
    if (at + file.size() + 2 >= kDropRequestCharacters) return 1;
    std::memcpy(request->files + at, file.c_str(), (file.size() + 1) * sizeof(wchar_t));
    at += file.size() + 1;
  }
  const bool posted = LoadIntoProcessOf(control, L"drop-injector.dll") && request->posted != 0;
  UnmapViewOfFile(request);
  CloseHandle(mapping);
  return posted ? 0 : 1;
}

// Has `library` look at `window` in the window's own process; prints its answer. 0 when it
// answered and counted nothing as failed.
int AskInProcess(HWND window, const wchar_t* library) {
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(InjectedRequest), kInjectedRequestName);
  if (mapping == nullptr) return 1;
  auto* request = static_cast<InjectedRequest*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(InjectedRequest)));
  if (request == nullptr) return 1;
  std::memset(request, 0, sizeof(InjectedRequest));
  request->window = reinterpret_cast<std::uintptr_t>(window);
  const bool answered = LoadIntoProcessOf(window, library) && request->answered != 0;
  if (answered) std::printf("%s", request->answer);
  const bool passed = answered && request->failures == 0;
  UnmapViewOfFile(request);
  CloseHandle(mapping);
  return passed ? 0 : 1;
}

// Windows and sizes as the screen shows them, whatever DPI the session runs at.
void BecomeDpiAware() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  const auto setContext = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (setContext == nullptr || !setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) {
    SetProcessDPIAware();
  }
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

int main() {
  BecomeDpiAware();
  // The arguments as UTF-8, from the wide command line: the ANSI ones lose Korean titles.
  int argc = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(Utf8(wide[i]));
  LocalFree(wide);
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  const char* const* argv = pointers.data();
  const std::string command = argc > 1 ? argv[1] : "";
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
  if (command == "click" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    const HWND button = GetDlgItem(window, std::atoi(argv[3]));
    if (button == nullptr) return 1;
    Press(window, button);
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
  if (command == "visible" && argc == 3) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    std::printf("%d\n", IsWindowVisible(window) ? 1 : 0);
    return 0;
  }
  if (command == "tray-click" && argc == 3) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND icon =
        window != nullptr ? FindWindowExW(window, nullptr, L"TastronTrayIcon", nullptr) : nullptr;
    if (icon == nullptr) return 1;
    PostMessageW(icon, WM_APP + 1, 1, WM_LBUTTONUP);
    return 0;
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
  if (command == "chord" && argc >= 3) {
    PressChord(VirtualKeys(argc, argv, 2));
    return 0;
  }
  if (command == "make-shortcut" && argc == 5) {
    return MakeShortcut(argv[2], argv[3], argv[4]);
  }
  if (command == "drop" && argc >= 5) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    std::vector<std::wstring> files;
    for (int i = 4; i < argc; ++i) files.push_back(Wide(argv[i]));
    return DropFiles(control, files);
  }
  if ((command == "fit" || command == "remove-hooks") && argc == 3) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    return AskInProcess(window, command == "fit" ? L"layout-inspector.dll" : L"hook-remover.dll");
  }
  if (command == "wait-drawn" && argc == 4) {
    const int waitMs = std::atoi(argv[3]);
    const HWND window = Find(argv[2], false, false, waitMs);
    return window != nullptr && PumpUntil([&] { return Drawn(window); }, waitMs) ? 0 : 1;
  }
  if (command == "text" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    std::printf("%s\n", Utf8(ControlText(control)).c_str());
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
  if (command == "click-at" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    return ClickInto(window, control) ? 0 : 1;
  }
  if (command == "window-enabled" && argc == 3) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    std::printf("%d\n", IsWindowEnabled(window) ? 1 : 0);
    return 0;
  }
  if (command == "rows" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND list = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (list == nullptr) return 1;
    std::printf("%d\n", static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
  }
  if (command == "selected" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND list = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (list == nullptr) return 1;
    std::string rows;
    for (int row = -1;
         (row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;) {
      rows += (rows.empty() ? "" : ",") + std::to_string(row);
    }
    std::printf("%s\n", rows.empty() ? "-" : rows.c_str());
    return 0;
  }
  if (command == "click-cell" && (argc == 6 || argc == 7)) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND list = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (list == nullptr) return 1;
    const auto centre = CellCentre(list, std::atoi(argv[4]), std::atoi(argv[5]));
    if (!centre) return 1;
    SetForegroundWindow(window);
    ClickAtPoint(*centre, argc == 7 ? std::atoi(argv[6]) : 1);
    return 0;
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
  if (command == "type-here" && argc >= 3) {
    return TypeHere(VirtualKeys(argc, argv, 2));
  }
  if (command == "middle-click-here" && argc >= 2) {
    return MiddleClickHere(VirtualKeys(argc, argv, 2));
  }
  if (command == "post" && argc == 5) {
    const HWND window = Find(argv[2], false, false, 0);
    return window != nullptr &&
                   PostMessageW(window, static_cast<UINT>(std::strtoul(argv[3], nullptr, 0)),
                                std::strtoul(argv[4], nullptr, 0), 0)
               ? 0
               : 1;
  }
  if (command == "set-text" && argc == 5) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    return control != nullptr && SetWindowTextW(control, Wide(argv[4]).c_str()) ? 0 : 1;
  }
  if (command == "acp" && argc == 2) {
    std::printf("%u\n", GetACP());
    return 0;
  }
  if (command == "ansi-path" && argc == 3) {
    const auto path = AnsiCodePagePath(argv[2], MAX_PATH - 1);
    std::printf("%s\n", path ? path->c_str() : "none");
    return 0;
  }
  if (command == "write-profile" && argc == 6) {
    AnsiProfile profile;
    return profile.WriteString(argv[2], argv[3], argv[4], argv[5]) ? 0 : 1;
  }
  if (command == "foreground" && argc == 2) {
    std::printf("%s\n", Utf8(Title(GetForegroundWindow())).c_str());
    return 0;
  }
  std::fprintf(stderr, "usage: see the comment at the top of UiProbe.cpp\n");
  return 2;
}
