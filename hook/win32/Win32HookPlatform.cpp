#include "hook/win32/Win32HookPlatform.h"

#include <shellapi.h>

#include <string>

#include <cstdio>

#include "common/win32/DeviceToolTurn.h"
#include "hook/HookEngine.h"
#include "hook/win32/OrderedWorker.h"
#include "hook/win32/ProcessIdentities.h"
#include "hook/win32/ProfileText.h"
#include "hook/win32/SharedOwner.h"

namespace {

// Within this of the clock (in 100 ns ticks), a second write could carry the same time stamp
// as the first: FAT's resolution is 2 s, NTFS's the system tick.
constexpr std::uint64_t kRecentWriteTicks = 2 * 10'000'000;

// Program starts leave the hook thread: the shell may take its time (a slow disk, a network
// path, an association that asks something), and Windows removes a hook whose call outlasts its
// time-out. Device tool runs have a worker of their own, so that a slow run delays the next run
// (runs must not overlap) but never a program start.
OrderedWorker& ProgramStarts() {
  static OrderedWorker& worker = *new OrderedWorker;  // lives as long as the process
  return worker;
}
OrderedWorker& DeviceToolRuns() {
  static OrderedWorker& worker = *new OrderedWorker;
  return worker;
}

// What the library asked for goes to the debugger output at the moment it asks, in the order it
// asks; the start itself happens a moment later on a worker.
void TraceStart(std::string_view file, std::string_view parameters, int show) {
  std::string line = "trellin_192: run \"";
  line.append(file);
  line += "\" \"";
  line.append(parameters);
  line += "\" " + std::to_string(show) + "\n";
  OutputDebugStringA(line.c_str());
}

HANDLE StartHidden(const std::string& path, const std::string& parameters) {
  SHELLEXECUTEINFOA run{};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  run.lpVerb = "open";
  run.lpFile = path.c_str();
  run.lpParameters = parameters.c_str();
  run.nShow = SW_HIDE;
  return ShellExecuteExA(&run) ? run.hProcess : nullptr;
}

// The lock of the workstation has a worker of its own: a program start that stalls (a file on
// an unreachable share, a consent prompt) must not leave the desktop unlocked.
OrderedWorker& LockStarts() {
  static OrderedWorker& worker = *new OrderedWorker;
  return worker;
}

void StartOn(OrderedWorker& worker, std::string_view file, std::string_view parameters, int show) {
  TraceStart(file, parameters, show);
  worker.Run(
      [file = std::string(file), parameters = std::string(parameters), show] {
        ShellExecuteA(nullptr, "open", file.c_str(), parameters.c_str(), nullptr, show);
      },
      0);
}

void WriteNote(const HookPlatform::RuleNote& note) {
  WritePrivateProfileStringA(note.section.c_str(), note.key.c_str(),
                             note.value.empty() ? nullptr : note.value.c_str(), note.file.c_str());
}

// Sent, but without waiting for the windows of other threads: one hung window would hold the
// caller (the hook call, until Windows removes the hook). Windows of this thread get it at once.
void SendMonitorOff() {
  constexpr LPARAM kMonitorOff = 2;
  SendNotifyMessageA(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorOff);
}

HWND ToWindow(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
WindowHandle FromWindow(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}

}  // namespace

HookHandle Win32HookPlatform::InstallHook(HookKind kind) {
  const HHOOK hook = kind == HookKind::Keyboard
                         ? SetWindowsHookExA(WH_KEYBOARD_LL, keyboardProc_, module_, 0)
                         : SetWindowsHookExA(WH_MOUSE_LL, mouseProc_, module_, 0);
  return reinterpret_cast<HookHandle>(hook);
}

void Win32HookPlatform::RemoveHook(HookHandle hook) {
  if (hook != 0) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook));
}

bool Win32HookPlatform::IsKeyDown(std::uint8_t virtualKey) {
  return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

void Win32HookPlatform::InjectKey(std::uint8_t virtualKey, std::uint8_t scanCode,
                                  std::uint32_t flags) {
  keybd_event(virtualKey, scanCode, flags, kLibraryInjectionTag);
}

void Win32HookPlatform::InjectMouse(std::uint32_t flags) {
  mouse_event(flags, 0, 0, 0, kLibraryInjectionTag);
}

namespace {

// A path in the ANSI code page; empty where the code page cannot hold it.
std::string ToAnsi(const std::wstring& path) {
  BOOL lossy = FALSE;
  const int bytes = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
  if (bytes <= 1 || lossy) return {};
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi.data(), bytes, nullptr, nullptr);
  ansi.resize(static_cast<std::size_t>(bytes - 1));
  return ansi;
}

std::wstring LongForm(const char* file) {
  wchar_t wide[MAX_PATH * 2] = {};
  if (MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH * 2) == 0) return {};
  wchar_t longer[MAX_PATH * 2] = {};
  const DWORD length = GetLongPathNameW(wide, longer, MAX_PATH * 2);
  return length == 0 || length >= MAX_PATH * 2 ? std::wstring(wide) : std::wstring(longer, length);
}

}  // namespace

// The file a path names in the end: the target of a symbolic link (through any chain of them),
// else the path itself, as given. Windows reports a link's own size and time stamp, and a change
// of the target is signalled in the target's folder, not the link's. A short (8.3) path names
// the same file as its long form and is kept: the long name may hold what the code page cannot.
std::string Win32HookPlatform::ResolveRuleFile(const char* file) {
  // Asked of the file itself, not its attributes: Windows marks a link as a reparse point, Wine
  // shows a Unix link as a plain file; opening either ends at the target.
  const HANDLE handle = CreateFileA(file, FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return file;
  wchar_t target[MAX_PATH * 2 + 8] = {};
  const DWORD length = GetFinalPathNameByHandleW(handle, target, MAX_PATH * 2 + 8,
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  CloseHandle(handle);
  if (length == 0 || length >= MAX_PATH * 2 + 8) return file;
  std::wstring path(target, length);
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
    path = L"\\\\" + path.substr(8);
  } else if (path.rfind(L"\\\\?\\", 0) == 0) {
    path = path.substr(4);
  }
  // The same path in other letter case, or the long form of a short one, is no link.
  if (lstrcmpiW(path.c_str(), LongForm(file).c_str()) == 0) return file;
  std::string ansi = ToAnsi(path);
  if (ansi.empty()) {
    wchar_t shorter[MAX_PATH * 2] = {};
    const DWORD shortLength = GetShortPathNameW(path.c_str(), shorter, MAX_PATH * 2);
    if (shortLength != 0 && shortLength < MAX_PATH * 2) ansi = ToAnsi(shorter);
  }
  return ansi.empty() ? std::string(file) : ansi;
}

HookPlatform::RuleFileCheck Win32HookPlatform::CheckRuleFile(const char* file) {
  RuleFileCheck check;
  // A link is replaced or pointed elsewhere in its own folder; then it is resolved again.
  const HANDLE wake = RuleFileWatcher::RoundWake();
  const bool linkFolderChanged = ruleFolder_.ChangeSignalled(file, wake);
  if (linkFolderChanged || resolvedFrom_ != file) {
    resolvedFrom_ = file;
    resolved_ = ResolveRuleFile(file);
  }
  check.mayHaveChanged = linkFolderChanged;
  if (resolved_ != resolvedFrom_) {
    check.mayHaveChanged =
        targetFolder_.ChangeSignalled(resolved_.c_str(), wake) || check.mayHaveChanged;
  } else {
    targetFolder_.Stop();
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExA(resolved_.c_str(), GetFileExInfoStandard, &data)) {
    check.exists = true;
    check.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    check.lastWrite = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t nowTicks =
        (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    check.writtenRecently = check.lastWrite + kRecentWriteTicks > nowTicks;
  }
  return check;
}

HookPlatform::RuleFileRead Win32HookPlatform::ReadRuleFile(const char* file,
                                                           std::uint64_t largest) {
  return ReadProfileText(file, largest);
}

void Win32HookPlatform::WatchRuleFile(const char* file, RuleCache& rules) {
  watcher_.Watch(file, rules, *this, [this] {
    ruleFolder_.Stop();
    targetFolder_.Stop();
    resolvedFrom_.clear();
  });
}

void Win32HookPlatform::WriteRule(const char* file, std::string_view section, std::string_view key,
                                  std::string_view value) {
  WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                             std::string(value).c_str(), file);
}

void Win32HookPlatform::DeleteRule(const char* file, std::string_view section,
                                   std::string_view key) {
  WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), nullptr, file);
}

void Win32HookPlatform::StartProgram(std::string_view file, std::string_view parameters, int show) {
  StartOn(ProgramStarts(), file, parameters, show);
}

void Win32HookPlatform::StartProgramAtOnce(std::string_view file, std::string_view parameters,
                                           int show) {
  StartOn(LockStarts(), file, parameters, show);
}

// Each run takes its turn with the main program's own runs; its end goes to the debugger
// output last, after its note and broadcast.
void Win32HookPlatform::RunDeviceTool(const char* path, std::string_view parameters,
                                      std::chrono::milliseconds wait, const RuleNote& note,
                                      bool monitorOffWhenEnded) {
  TraceStart(path, parameters, SW_HIDE);
  DeviceToolRuns().Run(
      [path = std::string(path), parameters = std::string(parameters), note, monitorOffWhenEnded] {
        DWORD exitCode = STILL_ACTIVE;
        {
          const DeviceToolTurn turn;
          if (note.when == RuleNote::When::BeforeRun) WriteNote(note);
          if (const HANDLE process = StartHidden(path, parameters)) {
            if (WaitForSingleObject(process, DeviceToolTurn::kLongestRunMs) == WAIT_OBJECT_0) {
              GetExitCodeProcess(process, &exitCode);
            }
            CloseHandle(process);
          }
          if (note.when == RuleNote::When::AfterSuccess && exitCode == 0) WriteNote(note);
        }
        if (monitorOffWhenEnded) SendMonitorOff();
        OutputDebugStringA(
            ("trellin_192: device tool ended, exit code " + std::to_string(exitCode) + "\n")
                .c_str());
      },
      static_cast<DWORD>(wait.count()));
}

void Win32HookPlatform::PostMessageTo(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam) {
  PostMessageA(ToWindow(window), message, wParam, lParam);
}

void Win32HookPlatform::BroadcastMonitorOff() {
  SendMonitorOff();
}

bool Win32HookPlatform::IsScreenSaverActive() {
  BOOL active = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  return active != FALSE;
}

void Win32HookPlatform::SetScreenSaverActive(bool active) {
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0);
}

std::string Win32HookPlatform::ExpandEnvironment(std::string_view text) {
  char expanded[MAX_PATH] = {};
  const DWORD length = ExpandEnvironmentStringsA(std::string(text).c_str(), expanded, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return std::string(text);
  return expanded;
}

bool Win32HookPlatform::IsWindow(WindowHandle window) {
  return window != 0 && ::IsWindow(ToWindow(window)) != FALSE;
}

WindowHandle Win32HookPlatform::FocusWindow() {
  return FromWindow(GetFocus());
}

WindowHandle Win32HookPlatform::WindowUnderCursor() {
  POINT point{};
  if (!GetCursorPos(&point)) return 0;
  return FromWindow(WindowFromPoint(point));
}

std::string Win32HookPlatform::ClassName(WindowHandle window) {
  char name[MAX_PATH] = {};
  const int length = GetClassNameA(ToWindow(window), name, MAX_PATH);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

WindowHandle Win32HookPlatform::FindChildWindow(WindowHandle parent, WindowHandle after,
                                                const char* className) {
  return FromWindow(FindWindowExA(ToWindow(parent), ToWindow(after), className, nullptr));
}

bool Win32HookPlatform::IsWindowVisible(WindowHandle window) {
  return ::IsWindowVisible(ToWindow(window)) != FALSE;
}

WindowHandle Win32HookPlatform::ForegroundWindow() {
  return FromWindow(GetForegroundWindow());
}

namespace {

// The executable file name of a process, without its folder, in the ANSI code page as the rule
// file's section names are; empty when the process cannot be asked.
std::string ExeNameOfProcess(DWORD processId) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return {};
  wchar_t path[MAX_PATH * 4] = {};
  DWORD length = MAX_PATH * 4;
  const BOOL found = QueryFullProcessImageNameW(process, 0, path, &length);
  CloseHandle(process);
  if (!found || length == 0) return {};
  const wchar_t* name = path;
  for (const wchar_t* at = path; *at != L'\0'; ++at) {
    if (*at == L'\\' || *at == L'/') name = at + 1;
  }
  char ansi[MAX_PATH * 2] = {};
  BOOL lossy = FALSE;
  const int bytes = WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof ansi, nullptr, &lossy);
  // A name the code page cannot hold matches no section the editors could have written.
  if (bytes <= 1 || lossy) return {};
  return ansi;
}

struct AppOfFrame {
  DWORD frameProcess;
  DWORD appProcess = 0;
};

BOOL CALLBACK FindAppOfFrame(HWND child, LPARAM parameter) {
  auto& search = *reinterpret_cast<AppOfFrame*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(child, &process);
  if (process == 0 || process == search.frameProcess) return TRUE;
  search.appProcess = process;
  return FALSE;
}

}  // namespace

HookPlatform::WindowProgram Win32HookPlatform::ProgramOfWindow(WindowHandle handle) {
  const HWND window = ToWindow(handle);
  DWORD process = 0;
  if (GetWindowThreadProcessId(window, &process) == 0) return {{}, true};
  std::string name = ExeNameOfProcess(process);
  // A store app's window is a child of the frame host's, owned by the app's own process; until
  // it attaches, the frame host is all there is, and the answer is asked again.
  if (_stricmp(name.c_str(), "ApplicationFrameHost.exe") == 0) {
    AppOfFrame search{process};
    EnumChildWindows(window, FindAppOfFrame, reinterpret_cast<LPARAM>(&search));
    if (search.appProcess == 0) return {std::move(name), false};
    return {ExeNameOfProcess(search.appProcess), true};
  }
  return {std::move(name), true};
}

HookPlatform::DragDistance Win32HookPlatform::DragThreshold() {
  return {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)};
}

// A thread timer without a window: the host's message loop, which the hooks need anyway,
// dispatches it on the hook thread.
void Win32HookPlatform::StartHookWatchdog() {
  if (watchdogTimer_ == 0)
    watchdogTimer_ = SetTimer(nullptr, 0, kHookWatchdogPeriodMs, watchdogProc_);
}

void Win32HookPlatform::StopHookWatchdog() {
  if (watchdogTimer_ != 0) KillTimer(nullptr, watchdogTimer_);
  watchdogTimer_ = 0;
}

std::uint32_t Win32HookPlatform::LastInputTick() {
  LASTINPUTINFO info{};
  info.cbSize = sizeof info;
  // Without an answer, the input counts as seen: nothing to do.
  return GetLastInputInfo(&info) ? info.dwTime : GetTickCount() - 1000000;
}

ProcessIdentity Win32HookPlatform::CurrentProcess() {
  static const ProcessIdentity self = IdentityOfThisProcess();
  return self;
}

bool Win32HookPlatform::IsProcessRunning(const ProcessIdentity& process) {
  return IsStillRunning(process);
}

ProcessIdentity Win32HookPlatform::ExchangeSharedOwner(const ProcessIdentity& expected,
                                                       const ProcessIdentity& desired) {
  return ::ExchangeSharedOwner(expected, desired);
}

void Win32HookPlatform::DebugLine(std::string_view line) {
  OutputDebugStringA((std::string(line) + "\n").c_str());
}
