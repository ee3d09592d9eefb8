#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "common/Handles.h"
#include "common/ProgramNameText.h"
#include "profile/Profile.h"
#include "ui/PopupMenu.h"
#include "ui/TrayIconWindow.h"

// Everything the main program asks of Windows outside its dialogs. The Windows build has the
// real implementation; tests and the simulated host use a fake one. Texts are UTF-8; the Windows
// implementation converts at the boundary.
enum class RegistryRoot { CurrentUser, LocalMachine };

// A registry value: a number (REG_DWORD) or a text (REG_SZ).
using RegistryValue = std::variant<std::uint32_t, std::string>;

// A program with a window on the desktop: its file name, as the hook library names the program
// in front, and the title of its frontmost window.
struct RunningProgram {
  std::string program;
  std::string title;
};

// A loaded library: its exports by name, unloaded when the object goes.
class LoadedModule {
 public:
  virtual ~LoadedModule() = default;
  // The export's address, or nullptr when the module has none of that name.
  virtual void* Export(const char* name) = 0;
};

// A watch that Windows keeps while the object lives (a window-event hook, say).
class Watch {
 public:
  virtual ~Watch() = default;
};

// The process of the window in front, as far as this process may ask: its integrity level
// (the last RID of its token's mandatory label: 0x1000 low, 0x2000 medium, 0x3000 high, 0x4000
// system), nullopt when its process or token could not be opened or read.
struct ForegroundProcess {
  bool window = false;  // false while no window is in front (a switch is under way)
  std::optional<std::uint32_t> integrityLevel;
};

// What a shortcut (".lnk") stores: the program and its command-line arguments.
struct ShortcutTarget {
  std::string path;
  std::string arguments;
};

class Services {
 public:
  virtual ~Services() = default;

  virtual std::optional<RegistryValue> ReadRegistry(RegistryRoot root, const std::string& key,
                                                    const std::string& name) = 0;
  // Creates missing keys.
  virtual bool WriteRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                             const RegistryValue& value) = 0;
  virtual bool DeleteRegistryValue(RegistryRoot root, const std::string& key,
                                   const std::string& name) = 0;

  // The user's application-data folder (roaming), the executable's full path, the Windows
  // folder; none with a trailing backslash.
  virtual std::string UserAppDataFolder() = 0;
  virtual std::string ExecutablePath() = 0;
  virtual std::string WindowsFolder() = 0;
  virtual bool IsWin64() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  // Whole files; each reports success. Copying overwrites `to`; replacing moves `from` over
  // `to` in one step, so that `to` is either the old file or the new one, never a part.
  virtual bool DeleteFileAt(const std::string& path) = 0;
  virtual bool CopyFileTo(const std::string& from, const std::string& to) = 0;
  virtual bool ReplaceFileWith(const std::string& from, const std::string& to) = 0;

  // The rule file and the other INI files.
  virtual Profile& Profiles() = 0;

  // The path as a consumer of ANSI-code-page paths (a char* export, the *A functions) must be
  // given it, in that code page's bytes and not UTF-8, in at most `maxBytes` bytes: the path
  // itself when every character has its place in the code page; else its short form (for a
  // file that does not exist yet, the short form of its folder with the name appended); else
  // nullopt.
  virtual std::optional<std::string> PathForAnsiCodePage(const std::string& path,
                                                         std::size_t maxBytes) = 0;
  // A text for the rule file, which is written in the ANSI code page, kept in UTF-8: the text
  // itself when every character has its place in the code page; else, when it names an
  // existing file or folder, its short form; else nullopt.
  virtual std::optional<std::string> TextForAnsiCodePage(const std::string& text) = 0;
  // How program names compare (as Windows compares file names), for the rule editors.
  virtual const ProgramNameText& ProgramNames() = 0;

  virtual std::unique_ptr<LoadedModule> LoadModule(const std::string& fileName) = 0;
  // ShellExecute with verb "open", no owner, no folder.
  virtual void StartProgram(const std::string& file, const std::string& parameters, int show) = 0;
  // Whether this process runs with an administrator's full rights (an elevated token).
  virtual bool IsElevated() = 0;
  // This process's integrity level; nullopt where Windows has none (before Vista).
  virtual std::optional<std::uint32_t> IntegrityLevel() = 0;
  // What the window in front is now, and the rights of its process.
  virtual ForegroundProcess ForegroundProcessRights() = 0;
  // Posts `message` to `window` each time a window comes to the front, until the watch goes.
  // Told on this thread through its message loop, also while the window in front keeps
  // the input away from the low-level hooks; nullptr when Windows refused the watch.
  virtual std::unique_ptr<Watch> WatchForeground(WindowHandle window, std::uint32_t message) = 0;
  // ShellExecute with verb "runas", owned by `owner`: Windows asks the user's consent first.
  // False when the program did not start (the user refused, or it could not be started).
  virtual bool StartElevated(WindowHandle owner, const std::string& file,
                             const std::string& parameters) = 0;
  // "DOMAIN\name" of the user this process runs for.
  virtual std::string UserAccount() = 0;
  // Tasks of the task scheduler's root folder, by name: registered (created or replaced) from
  // their XML definition, looked up, deleted. Each reports success; registering a task that
  // runs with the highest rights, and deleting one, take an elevated process.
  virtual bool RegisterTask(const std::string& name, const std::string& xml) = 0;
  virtual bool TaskExists(const std::string& name) = 0;
  virtual bool DeleteTask(const std::string& name) = 0;
  // Runs the device tool hidden, away from this thread and in turn with the hook library's runs
  // of it (one run at a time, whoever asks). `ended` is told whether the run ended with success
  // (exit code 0; not when it could not start, failed or still ran after a minute), on the
  // thread that waited for it and before the next run's turn begins.
  virtual void RunDeviceTool(const std::string& tool, const std::string& parameters,
                             std::function<void(bool succeeded)> ended) = 0;

  virtual bool IsWindow(WindowHandle window) = 0;
  virtual std::intptr_t SendMessageTo(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // A message box; returns the button that closed it (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7).
  virtual int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                         unsigned type) = 0;

  // Once at start-up, on the user-interface thread: three-dimensional controls, COM, ActiveX
  // hosting in dialogs, the dialog colours (background 236/233/216, text 40/40/40) and the Korean
  // thread locale (0x0412).
  virtual void InitializeUserInterface() = 0;

  // File choosers: the chosen path, or nullopt when the user cancels. The filter is in the form
  // "Description (*.cfg)|*.cfg|All files (*.*)|*.*||".
  virtual std::optional<std::string> ChooseFile(WindowHandle owner, bool save,
                                                const std::string& title,
                                                const std::string& filter) = 0;
  virtual std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) = 0;

  // The program path and the arguments stored in a shortcut file, as the shell link object
  // reads them (not resolved against the file system); nullopt when no link object can be made.
  virtual std::optional<ShortcutTarget> ReadShortcut(const std::string& path) = 0;

  // The programs with a visible top-level window that has a title, each once, the one whose
  // window is frontmost first; Tastron's own windows left out.
  virtual std::vector<RunningProgram> RunningPrograms() = 0;
  // The top-level window that `window` belongs to.
  virtual WindowHandle TopLevelWindow(WindowHandle window) = 0;
  // Brings the window to the foreground even when another program has it.
  virtual void ForceForeground(WindowHandle window) = 0;
  // The window's caption flies into the notification area, or out of it.
  virtual void AnimateTray(WindowHandle window, bool intoTray) = 0;

  // An icon from an .ico file (0 when it cannot be loaded), and a notification-area icon whose
  // activation sends `activateMessage` to `owner`, and a request for its menu `menuMessage`.
  virtual IconHandle LoadIconFile(const std::string& path) = 0;
  virtual std::unique_ptr<TrayIconWindow> CreateTrayIconWindow(WindowHandle owner,
                                                               std::uint32_t activateMessage,
                                                               std::uint32_t menuMessage) = 0;
  // A shortcut menu at the mouse pointer, owned by `owner` (brought to the front first, so that
  // a click elsewhere closes the menu): the command of the item chosen, 0 when none was.
  virtual int ShowPopupMenu(WindowHandle owner, const std::vector<PopupMenuItem>& items) = 0;

  // The high bit of GetAsyncKeyState.
  virtual bool IsKeyDown(int virtualKey) = 0;
  // RegisterWindowMessageA: the same number for the same name in every program.
  virtual std::uint32_t RegisterWindowMessageNumber(const std::string& name) = 0;

  virtual std::uint32_t TickCount() = 0;
  // The tick count of the user's last input, to any program (GetLastInputInfo).
  virtual std::uint32_t LastInputTick() = 0;
  // The local time of day as a user reads it: "14:05".
  virtual std::string ClockTime() = 0;
  virtual std::uint32_t ProcessId() = 0;
  virtual std::uint32_t ThreadId() = 0;
  // One line for the debugger (OutputDebugStringA).
  virtual void DebugOutput(const std::string& line) = 0;
};

// Message box types and answers used by the program.
namespace message_box {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kOkCancel = 0x1;
inline constexpr unsigned kYesNoCancel = 0x3;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace message_box
