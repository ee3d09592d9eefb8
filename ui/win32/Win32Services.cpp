#include "ui/win32/Win32Services.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <limits>

#include "ui/win32/AnsiPath.h"
#include "ui/win32/DeviceToolRun.h"
#include "ui/win32/DialogColours.h"
#include "ui/win32/Elevation.h"
#include "ui/win32/ForegroundWatch.h"
#include "ui/win32/PopupMenuAtPointer.h"
#include "ui/win32/ProcessIntegrity.h"
#include "ui/win32/ProgramsWithWindows.h"
#include "ui/win32/ShortcutFile.h"
#include "ui/win32/TaskScheduler.h"
#include "ui/win32/TextConversion.h"
#include "ui/win32/Win32TrayIconWindow.h"
#include "ui/win32/WindowDpi.h"

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

class Win32Module final : public LoadedModule {
 public:
  explicit Win32Module(HMODULE module) : module_(module) {}
  ~Win32Module() override { FreeLibrary(module_); }
  void* Export(const char* name) override {
    return reinterpret_cast<void*>(GetProcAddress(module_, name));
  }

 private:
  HMODULE module_;
};

// How long a window may take to answer the single-instance question before it counts as hung.
constexpr UINT kAnswerTimeoutMs = 3000;

}  // namespace

std::optional<RegistryValue> Win32Services::ReadRegistry(RegistryRoot root, const std::string& key,
                                                         const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(RootKey(root), Utf8ToWide(key).c_str(), 0, KEY_READ, &opened) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring valueName = Utf8ToWide(name);
  DWORD type = 0;
  DWORD size = 0;
  std::optional<RegistryValue> result;
  if (RegQueryValueExW(opened, valueName.c_str(), nullptr, &type, nullptr, &size) ==
      ERROR_SUCCESS) {
    if (type == REG_DWORD && size == sizeof(DWORD)) {
      DWORD number = 0;
      RegQueryValueExW(opened, valueName.c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(&number), &size);
      result = static_cast<std::uint32_t>(number);
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
      std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
      DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
      RegQueryValueExW(opened, valueName.c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(text.data()), &bytes);
      text.resize(wcsnlen(text.c_str(), text.size()));
      result = WideToUtf8(text);
    }
  }
  RegCloseKey(opened);
  return result;
}

bool Win32Services::WriteRegistry(RegistryRoot root, const std::string& key,
                                  const std::string& name, const RegistryValue& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(RootKey(root), Utf8ToWide(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                      &opened, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG status = ERROR_SUCCESS;
  const std::wstring valueName = Utf8ToWide(name);
  if (const auto* number = std::get_if<std::uint32_t>(&value)) {
    const DWORD data = *number;
    status = RegSetValueExW(opened, valueName.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&data), sizeof data);
  } else {
    const std::wstring text = Utf8ToWide(std::get<std::string>(value));
    status = RegSetValueExW(opened, valueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

bool Win32Services::DeleteRegistryValue(RegistryRoot root, const std::string& key,
                                        const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(RootKey(root), Utf8ToWide(key).c_str(), 0, KEY_SET_VALUE, &opened) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG status = RegDeleteValueW(opened, Utf8ToWide(name).c_str());
  RegCloseKey(opened);
  return status == ERROR_SUCCESS;
}

std::string Win32Services::UserAppDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return WideToUtf8(folder);
}

std::string Win32Services::ExecutablePath() {
  wchar_t path[1024] = {};
  GetModuleFileNameW(nullptr, path, 1024);
  return WideToUtf8(path);
}

std::string Win32Services::WindowsFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetWindowsDirectoryW(folder, MAX_PATH);
  return WideToUtf8(folder);
}

bool Win32Services::IsWin64() {
#if defined(_WIN64)
  return true;
#else
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  return wow64 != FALSE;
#endif
}

bool Win32Services::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Services::FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Services::CreateFolder(const std::string& path) {
  return CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr) != FALSE;
}

bool Win32Services::DeleteFileAt(const std::string& path) {
  return DeleteFileW(Utf8ToWide(path).c_str()) != FALSE;
}

bool Win32Services::CopyFileTo(const std::string& from, const std::string& to) {
  return CopyFileW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(), FALSE) != FALSE;
}

// MOVEFILE_REPLACE_EXISTING on one volume is a rename: the old file or the new one, never half.
bool Win32Services::ReplaceFileWith(const std::string& from, const std::string& to) {
  return MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::optional<std::string> Win32Services::PathForAnsiCodePage(const std::string& path,
                                                              std::size_t maxBytes) {
  return AnsiCodePagePath(path, maxBytes);
}

std::optional<std::string> Win32Services::TextForAnsiCodePage(const std::string& text) {
  if (Utf8ToAnsiExactly(text)) return text;
  // A short form exists only for a path that names something; it is ASCII.
  const auto ansi = AnsiCodePagePath(text, std::numeric_limits<std::size_t>::max());
  if (!ansi) return std::nullopt;
  return AnsiToUtf8(*ansi);
}

std::unique_ptr<LoadedModule> Win32Services::LoadModule(const std::string& fileName) {
  const HMODULE module = LoadLibraryW(Utf8ToWide(fileName).c_str());
  if (module == nullptr) return nullptr;
  return std::make_unique<Win32Module>(module);
}

void Win32Services::StartProgram(const std::string& file, const std::string& parameters, int show) {
  ShellExecuteW(nullptr, L"open", Utf8ToWide(file).c_str(), Utf8ToWide(parameters).c_str(), nullptr,
                show);
}

bool Win32Services::IsElevated() {
  return elevation::ProcessIsElevated();
}

std::optional<std::uint32_t> Win32Services::IntegrityLevel() {
  return process_integrity::OfProcess(GetCurrentProcess());
}

ForegroundProcess Win32Services::ForegroundProcessRights() {
  const HWND front = GetForegroundWindow();
  if (front == nullptr) return {};
  return {true, process_integrity::OfWindowProcess(front)};
}

std::unique_ptr<Watch> Win32Services::WatchForeground(WindowHandle window, std::uint32_t message) {
  return WatchForegroundFor(reinterpret_cast<HWND>(window), message);
}

std::string Win32Services::UserAccount() {
  return WideToUtf8(task_scheduler::UserAccount());
}

bool Win32Services::RegisterTask(const std::string& name, const std::string& xml) {
  return task_scheduler::Register(Utf8ToWide(name), Utf8ToWide(xml));
}

bool Win32Services::TaskExists(const std::string& name) {
  return task_scheduler::Exists(Utf8ToWide(name));
}

bool Win32Services::DeleteTask(const std::string& name) {
  return task_scheduler::Delete(Utf8ToWide(name));
}

bool Win32Services::StartElevated(WindowHandle owner, const std::string& file,
                                  const std::string& parameters) {
  return elevation::StartWithRunAs(reinterpret_cast<HWND>(owner), Utf8ToWide(file),
                                   Utf8ToWide(parameters));
}

void Win32Services::RunDeviceTool(const std::string& tool, const std::string& parameters,
                                  std::function<void(bool succeeded)> ended) {
  RunDeviceToolInTurn(tool, parameters, std::move(ended));
}

bool Win32Services::IsWindow(WindowHandle window) {
  return window != 0 && ::IsWindow(reinterpret_cast<HWND>(window)) != FALSE;
}

// A hung window must not hang the start of a new instance: it counts as no answer.
std::intptr_t Win32Services::SendMessageTo(WindowHandle window, std::uint32_t message,
                                           std::uintptr_t wParam, std::intptr_t lParam) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(reinterpret_cast<HWND>(window), message, wParam, lParam,
                           SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer)) {
    return 0;
  }
  return static_cast<std::intptr_t>(answer);
}

int Win32Services::MessageBox(WindowHandle owner, const std::string& text,
                              const std::string& caption, unsigned type) {
  return MessageBoxW(reinterpret_cast<HWND>(owner), Utf8ToWide(text).c_str(),
                     Utf8ToWide(caption).c_str(), type);
}

void Win32Services::InitializeUserInterface() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitialize(nullptr);
  SetDialogColours(RGB(236, 233, 216), RGB(40, 40, 40));
  SetThreadLocale(MAKELCID(0x0412, SORT_DEFAULT));
}

void Win32Services::DebugOutput(const std::string& line) {
  OutputDebugStringA(Utf8ToAnsi(line).c_str());
}

namespace {

HWND Handle(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

// Where the notification area is: the tray window of the taskbar, else the screen's corner.
RECT NotificationArea() {
  RECT area{};
  if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) {
    if (HWND notify = FindWindowExW(taskbar, nullptr, L"TrayNotifyWnd", nullptr)) {
      GetWindowRect(notify, &area);
      return area;
    }
  }
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  return RECT{width - 32, height - 32, width, height};
}

}  // namespace

std::optional<std::string> Win32Services::ChooseFile(WindowHandle owner, bool save,
                                                     const std::string& title,
                                                     const std::string& filter) {
  // "a|b|c|d||" becomes "a\0b\0c\0d\0\0".
  std::wstring filters = Utf8ToWide(filter);
  for (wchar_t& c : filters) {
    if (c == L'|') c = L'\0';
  }
  filters.push_back(L'\0');
  wchar_t path[MAX_PATH] = {};
  const std::wstring caption = Utf8ToWide(title);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle(owner);
  dialog.lpstrFilter = filters.c_str();
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrTitle = caption.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return WideToUtf8(path);
}

std::optional<std::string> Win32Services::ChooseFolder(WindowHandle owner,
                                                       const std::string& title) {
  const std::wstring caption = Utf8ToWide(title);
  BROWSEINFOW browse{};
  browse.hwndOwner = Handle(owner);
  browse.lpszTitle = caption.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  LPITEMIDLIST item = SHBrowseForFolderW(&browse);
  if (item == nullptr) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  const BOOL found = SHGetPathFromIDListW(item, path);
  CoTaskMemFree(item);
  if (!found) return std::nullopt;
  return WideToUtf8(path);
}

std::optional<ShortcutTarget> Win32Services::ReadShortcut(const std::string& path) {
  return ReadShortcutFile(path);
}

WindowHandle Win32Services::TopLevelWindow(WindowHandle window) {
  return reinterpret_cast<WindowHandle>(GetAncestor(Handle(window), GA_ROOT));
}

// Windows lets only the foreground thread hand the foreground on; joining its input for a
// moment makes this thread one.
void Win32Services::ForceForeground(WindowHandle window) {
  const HWND target = Handle(window);
  const HWND foreground = GetForegroundWindow();
  const DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
  const DWORD thisThread = GetCurrentThreadId();
  const bool join = foreground != nullptr && foregroundThread != thisThread;
  if (join) AttachThreadInput(thisThread, foregroundThread, TRUE);
  BringWindowToTop(target);
  SetForegroundWindow(target);
  if (join) AttachThreadInput(thisThread, foregroundThread, FALSE);
}

void Win32Services::AnimateTray(WindowHandle window, bool intoTray) {
  RECT windowArea{};
  GetWindowRect(Handle(window), &windowArea);
  const RECT trayArea = NotificationArea();
  DrawAnimatedRects(Handle(window), IDANI_CAPTION, intoTray ? &windowArea : &trayArea,
                    intoTray ? &trayArea : &windowArea);
}

// Sized for the notification area, which draws at the taskbar's DPI: a 16-pixel icon stretched
// to 24 would blur.
IconHandle Win32Services::LoadIconFile(const std::string& path) {
  const UINT dpi = TaskbarDpi();
  return reinterpret_cast<IconHandle>(
      LoadImageW(nullptr, Utf8ToWide(path).c_str(), IMAGE_ICON, SystemMetricAt(SM_CXSMICON, dpi),
                 SystemMetricAt(SM_CYSMICON, dpi), LR_LOADFROMFILE));
}

std::unique_ptr<TrayIconWindow> Win32Services::CreateTrayIconWindow(WindowHandle owner,
                                                                    std::uint32_t activateMessage,
                                                                    std::uint32_t menuMessage) {
  auto window = std::make_unique<Win32TrayIconWindow>(Handle(owner), activateMessage, menuMessage);
  if (!window->Created()) return nullptr;
  return window;
}

std::vector<RunningProgram> Win32Services::RunningPrograms() {
  return ProgramsWithWindows();
}

int Win32Services::ShowPopupMenu(WindowHandle owner, const std::vector<PopupMenuItem>& items) {
  return ShowPopupMenuAtPointer(Handle(owner), items);
}

std::uint32_t Win32Services::LastInputTick() {
  LASTINPUTINFO input{};
  input.cbSize = sizeof input;
  return GetLastInputInfo(&input) ? input.dwTime : GetTickCount();
}

std::string Win32Services::ClockTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[8];
  wsprintfA(text, "%02u:%02u", now.wHour, now.wMinute);
  return text;
}
