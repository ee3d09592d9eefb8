// A running program of whatever name a scenario gives: the scenario driver copies this file
// under that name and starts it, and it owns one top-level window of the class and title on its
// command line, so that the library finds that program in front. It ends with the driver.
#include <windows.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK StandInProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// program-stand-in CLASS TITLE VISIBLE X Y DRIVER-PROCESS-ID
int main(int argc, char** argv) {
  if (argc != 7) return 2;
  const HANDLE driver = OpenProcess(SYNCHRONIZE, FALSE, std::strtoul(argv[6], nullptr, 10));
  if (driver == nullptr) return 3;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = StandInProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = argv[1];
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);
  const HWND window = CreateWindowExA(WS_EX_NOACTIVATE, argv[1], argv[2], WS_POPUP | WS_BORDER,
                                      std::atoi(argv[4]), std::atoi(argv[5]), 220, 200, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 4;
  // Shown without being activated: a window created visible takes its thread's focus, and under
  // Wine the X input focus with it, whatever WS_EX_NOACTIVATE says. That arrives a moment later,
  // and Wine answers the window in front losing the X focus by putting the desktop in front, so
  // a stand-in still starting up would take the front from the window a script just put there.
  if (argv[3][0] == '1') ShowWindow(window, SW_SHOWNOACTIVATE);
  // Messages until the driver ends.
  for (;;) {
    const DWORD woken = MsgWaitForMultipleObjects(1, &driver, FALSE, INFINITE, QS_ALLINPUT);
    if (woken != WAIT_OBJECT_0 + 1) return 0;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}
