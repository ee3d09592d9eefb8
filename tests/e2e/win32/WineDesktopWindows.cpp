// The Wine desktop's windows: the host, the pad under the resting cursor, the script's windows
// and the stand-in programs that own some of them, the window in front and under the cursor.
#include "tests/e2e/win32/WineDesktop.h"

#include <cstdio>
#include <string>

#include "common/TextCase.h"
#include "tests/e2e/win32/ProbeText.h"

namespace {

// The monitor-off broadcast is traced where the library sends it.
LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

// Clicks must not move the focus: the scenario alone decides it, as on the simulated desktop.
LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER) return 0;
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool WineDesktop::CreateHost() {
  WNDCLASSA hostClass{};
  hostClass.lpfnWndProc = HostProcedure;
  hostClass.hInstance = GetModuleHandleA(nullptr);
  hostClass.lpszClassName = "TastronScenarioHost";
  RegisterClassA(&hostClass);
  host_ = CreateWindowExA(0, hostClass.lpszClassName, "Tastron scenario host", WS_OVERLAPPEDWINDOW,
                          0, 0, 100, 100, nullptr, nullptr, hostClass.hInstance, nullptr);
  if (host_ == nullptr) {
    std::fprintf(stderr, "scenario-driver: cannot create the host window (error %lu)\n",
                 GetLastError());
    return false;
  }
  return true;
}

// A window of the driver's own under the resting cursor, so that a click never lands on
// another program's window (which would take the focus away), and one for "none" in front.
void WineDesktop::CreatePads() {
  WNDCLASSA padClass{};
  padClass.lpfnWndProc = PlainProcedure;
  padClass.hInstance = GetModuleHandleA(nullptr);
  padClass.lpszClassName = "TastronScenarioPad";
  RegisterClassA(&padClass);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  // Shown without activation, as every window of a scenario: the scenario starts with the focus
  // nowhere, as on the simulated desktop.
  pad_ = CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOPMOST, padClass.lpszClassName, "", WS_POPUP,
                         width - 40, height - 40, 40, 40, nullptr, nullptr, padClass.hInstance,
                         nullptr);
  ShowWindow(pad_, SW_SHOWNOACTIVATE);
  // Hidden, as the host is: a visible window coming to the front takes the X input focus, and
  // Wine then takes the X server's key map, which knows nothing of the keys SendInput holds
  // down, for the truth, so the desktop would forget them.
  nobody_ = CreateWindowExA(WS_EX_NOACTIVATE, padClass.lpszClassName, "", WS_POPUP, 0, 0, 40, 40,
                            nullptr, nullptr, padClass.hInstance, nullptr);
}

bool WineDesktop::HasWindow(const std::string& name) const {
  return EqualsIgnoringCase(name, "host") || windows_.count(ToAsciiLower(name)) != 0;
}

HWND WineDesktop::Find(const std::string& name) const {
  if (EqualsIgnoringCase(name, "host")) return host_;
  const auto found = windows_.find(ToAsciiLower(name));
  return found == windows_.end() ? nullptr : found->second;
}

std::string WineDesktop::NameOf(HWND window) const {
  if (window == host_) return "host";
  if (window == pad_ || window == nobody_) return "none";
  for (const auto& [name, handle] : windows_) {
    if (handle == window) return name;
  }
  return "?";
}

void WineDesktop::DeclareWindow(const std::string& name, const std::string& className, bool hidden,
                                const std::string* parentName, const std::string* program) {
  // Every declared class becomes a plain window class of this program, so that the class name
  // is exactly the one declared.
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PlainProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = className.c_str();
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);

  const HWND parent = parentName != nullptr ? Find(*parentName) : nullptr;
  const DWORD visible = hidden ? 0 : WS_VISIBLE;
  HWND window = nullptr;
  if (parent != nullptr) {
    // Children sit in a row along the parent's top edge, away from its centre.
    const int index = childCount_[parent]++;
    window = CreateWindowExA(0, className.c_str(), name.c_str(), WS_CHILD | visible, 4 + 44 * index,
                             4, 40, 16, parent, nullptr, windowClass.hInstance, nullptr);
  } else if (program != nullptr) {
    const int index = topLevelCount_++;
    window = StartProgramWindow(*program, name, className, hidden, 20 + 240 * (index % 4),
                                20 + 220 * (index / 4));
    if (window != nullptr) standInWindows_.push_back(window);
  } else {
    // Top-level windows side by side, so that each centre is over that window alone. Shown
    // without activation, as the stand-ins' windows: one created visible takes the X input
    // focus, and the window in front would lose its place a moment later.
    const int index = topLevelCount_++;
    window = CreateWindowExA(WS_EX_NOACTIVATE, className.c_str(), name.c_str(),
                             WS_POPUP | WS_BORDER, 20 + 240 * (index % 4), 20 + 220 * (index / 4),
                             220, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window != nullptr && !hidden) ShowWindow(window, SW_SHOWNOACTIVATE);
  }
  if (window == nullptr) {
    std::fprintf(stderr, "scenario-driver: cannot create window %s (error %lu)\n", name.c_str(),
                 GetLastError());
    return;
  }
  windows_[ToAsciiLower(name)] = window;
  SetFocus(GetFocus() == window ? nullptr : GetFocus());
}

// A program's window: a stand-in program copied under the program's name, in a folder of its
// own, owns it. The driver waits for the window, and the stand-in ends with the driver.
HWND WineDesktop::StartProgramWindow(const std::string& program, const std::string& name,
                                     const std::string& className, bool hidden, int x, int y) {
  wchar_t driverPath[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, driverPath, MAX_PATH);
  std::wstring folder = driverPath;
  folder.resize(folder.find_last_of(L'\\') + 1);
  const std::wstring standIn = folder + L"program-standin.exe";
  wchar_t temporary[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temporary);
  const std::wstring programsFolder =
      std::wstring(temporary) + L"tastron-programs-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring programFolder = programsFolder + L"\\" + std::to_wstring(topLevelCount_);
  CreateDirectoryW(programsFolder.c_str(), nullptr);
  CreateDirectoryW(programFolder.c_str(), nullptr);
  // The script names the program in UTF-8: its file gets that name whatever the code page.
  const std::wstring path = programFolder + L"\\" + Wide(program.c_str());
  if (!CopyFileW(standIn.c_str(), path.c_str(), FALSE)) return nullptr;
  std::wstring commandLine = L"\"" + path + L"\" \"" + Wide(className.c_str()) + L"\" \"" +
                             Wide(name.c_str()) + L"\" " + (hidden ? L"0 " : L"1 ") +
                             std::to_wstring(x) + L" " + std::to_wstring(y) + L" " +
                             std::to_wstring(GetCurrentProcessId());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started)) {
    return nullptr;
  }
  CloseHandle(started.hThread);
  standIns_.push_back(started.hProcess);
  // Bounded: a stand-in that cannot start its window fails the script, it does not hang it.
  // The window counts once it is shown (the stand-in shows it after creating it), so that the
  // stand-in's start-up is over before the next line.
  for (int waited = 0; waited < 1000; ++waited) {
    HWND window = FindWindowA(className.c_str(), name.c_str());
    if (window != nullptr && (hidden || IsWindowVisible(window))) return window;
    if (WaitForSingleObject(started.hProcess, 10) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

// "none": a hidden window of the driver's, whose program no script names. Wine acts on a
// change of the X input focus when the program owning the window handles it (one that learns
// that its window in front lost the focus puts the desktop in front), so the window counts as
// in front once every program, the driver included, has handled what it was sent meanwhile and
// the window is still there.
void WineDesktop::Foreground(const std::string& name) {
  const HWND window = name.empty() ? nobody_ : Find(name);
  const ULONGLONG started = GetTickCount64();
  while (GetTickCount64() - started < 10000) {
    if (GetForegroundWindow() != window) SetForegroundWindow(window);
    if (GetForegroundWindow() != window) {
      Sleep(10);
      continue;
    }
    for (HWND standIn : standInWindows_) {
      SendMessageTimeoutA(standIn, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    }
    Settle();
    if (GetForegroundWindow() == window) break;
  }
  if (GetForegroundWindow() != window) {
    std::fprintf(stderr, "scenario-driver: window %s did not come to the front\n", name.c_str());
  }
}

void WineDesktop::Cursor(const std::string& name) {
  // Windows always finds a window under the cursor (at least the desktop's); "none" rests it
  // over the driver's pad.
  RECT area{};
  GetWindowRect(name.empty() ? pad_ : Find(name), &area);
  pointer_ = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  SetCursorPos(pointer_.x, pointer_.y);
}
