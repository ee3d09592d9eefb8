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
//   ui-probe tray-menu PREFIX          a right click on it, which asks for the icon's menu
//   ui-probe wait-menu MS              wait until a shortcut menu is open
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

#include <shellapi.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/e2e/win32/ProbeCommands.h"
#include "tests/e2e/win32/ProbeText.h"

namespace {

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
  for (const ProbeCommandGroup group : {RunWindowCommand, RunControlCommand, RunListCommand,
                                        RunInputCommand, RunInProcessCommand, RunSystemCommand}) {
    if (const auto exitCode = group(command, argc, argv)) return *exitCode;
  }
  std::fprintf(stderr, "usage: see the comment at the top of UiProbe.cpp\n");
  return 2;
}
