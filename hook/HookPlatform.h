#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/ProgramNameText.h"
#include "hook/HookState.h"

class RuleCache;

// Everything the hook engine asks of Windows. The DLL implements it with the real API; the
// simulated desktop implements it for tests and tastron-sim. Shaped by what the engine needs.
class HookPlatform {
 public:
  enum class HookKind { Keyboard, Mouse };

  virtual ~HookPlatform() = default;

  // SetWindowsHookExA with the engine's procedure for that kind, the module instance and thread
  // 0; 0 when it failed. RemoveHook is UnhookWindowsHookEx.
  virtual HookHandle InstallHook(HookKind kind) = 0;
  virtual void RemoveHook(HookHandle hook) = 0;

  // The high bit of GetAsyncKeyState.
  virtual bool IsKeyDown(std::uint8_t virtualKey) = 0;

  // keybd_event / mouse_event. Every event the library injects carries the library's tag as its
  // extra information, and reaches the hook procedures again before the call returns.
  virtual void InjectKey(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) = 0;
  virtual void InjectMouse(std::uint32_t flags) = 0;

  // The rule file. The library keeps it parsed; a watcher away from the hook thread checks it
  // for changes and reads it (RuleCache), so none of these is ever called in a hook call.
  // WatchRuleFile hands the watcher the file (the hook thread, or an export): from now on it
  // calls `rules.Refresh` for that file each time the file's folder signals a change, and now
  // and then besides. StopWatchingRuleFile ends that (the hooks stopped).
  virtual void WatchRuleFile(const char* file, RuleCache& rules) = 0;
  virtual void StopWatchingRuleFile() = 0;
  struct RuleFileCheck {
    // A change in the file's folder was signalled since the last check. Where changes cannot
    // be watched (a share without change notifications) nothing is signalled: the size and
    // the time stamp are then all there is.
    bool mayHaveChanged = true;
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;  // in the platform's own units
    // The last write is so recent (or, by the clock, still to come) that a second write could
    // keep the same time stamp: time stamps have a resolution (10 to 16 ms on NTFS, 2 s on FAT).
    bool writtenRecently = true;
  };
  virtual RuleFileCheck CheckRuleFile(const char* file) = 0;
  // The whole file as the profile functions read it (ANSI code page). A file larger than
  // `largest` bytes is not read at all.
  struct RuleFileRead {
    enum class Outcome { Read, Missing, Failed, TooLarge };
    Outcome outcome = Outcome::Failed;
    std::string text;
  };
  virtual RuleFileRead ReadRuleFile(const char* file, std::uint64_t largest) = 0;

  // ShellExecuteA(no owner, "open", file, parameters, no directory, show); nothing waits, and
  // the hook thread does not wait for the start either. Programs start in the order asked for.
  virtual void StartProgram(std::string_view file, std::string_view parameters, int show) = 0;
  // The same for a start that must never wait behind other starts (the lock of the
  // workstation: a stalled program start must not leave the desktop unlocked).
  virtual void StartOnLockWorker(std::string_view file, std::string_view parameters, int show) = 0;
  // A rule file entry that goes with a run of the device tool and keeps its place among the
  // runs: written just before the run starts, or deleted once it has ended with success (exit
  // code 0; a run that could not start, failed or is still going after a minute keeps it).
  struct DeviceToolEntry {
    enum class When { Never, BeforeRun, AfterSuccess };
    When when = When::Never;
    std::string file;
    std::string section;
    std::string key;
    std::string value;  // empty: the entry is deleted
  };
  // Runs the device tool hidden with these parameters. Runs of the tool never overlap: a run
  // starts only after every earlier run has ended (the main program's own runs included). Waits
  // at most `wait` for this run to end and never blocks longer, whatever the tool does. With
  // `monitorOffWhenEnded`, the monitor-off broadcast is sent again once the run has ended (or
  // could not start), from where the run was waited for, not from the hook thread.
  virtual void RunDeviceTool(const char* path, std::string_view parameters,
                             std::chrono::milliseconds wait, const DeviceToolEntry& note,
                             bool monitorOffWhenEnded) = 0;

  virtual void PostMessageTo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
  // WM_SYSCOMMAND/SC_MONITORPOWER with 2 sent to all top-level windows, without waiting for
  // the windows of other threads (a hung one would hold the hook).
  virtual void BroadcastMonitorOff() = 0;
  // SPI_GETSCREENSAVEACTIVE / SPI_SETSCREENSAVEACTIVE without a profile update.
  virtual bool IsScreenSaverActive() = 0;
  virtual void SetScreenSaverActive(bool active) = 0;
  // ExpandEnvironmentStringsA into 260 characters.
  virtual std::string ExpandEnvironment(std::string_view text) = 0;

  virtual bool IsWindow(WindowHandle window) = 0;
  // GetFocus of the hook's own thread; 0 for none.
  virtual WindowHandle FocusWindow() = 0;
  // GetCursorPos, then WindowFromPoint; 0 for none.
  virtual WindowHandle WindowUnderCursor() = 0;
  // GetClassNameA into 260 characters.
  virtual std::string ClassName(WindowHandle window) = 0;
  // FindWindowExA(parent, after, className, no title).
  virtual WindowHandle FindChildWindow(WindowHandle parent, WindowHandle after,
                                       const char* className) = 0;
  virtual bool IsWindowVisible(WindowHandle window) = 0;
  // GetForegroundWindow; 0 for none. Cheap: asked at every event that looks up a rule while
  // some program has rules of its own.
  virtual WindowHandle ForegroundWindow() = 0;
  // The program a top-level window belongs to: its process's executable file name without the
  // folder (for a store app in its frame host, the app's own), in UTF-16 as the file system
  // has it, whatever the ANSI code page. Empty for a process that cannot be asked (elevated,
  // protected): no program. Costly: the engine asks once per foreground window. `settled` is
  // false while the answer may still change for the same window (a frame host whose app has
  // not attached yet): the engine asks again at the next event.
  struct WindowProgram {
    std::u16string exeName;
    bool settled = true;
  };
  virtual WindowProgram ProgramOfWindow(WindowHandle window) = 0;
  // The code page and case table program names are read and compared with. Asked by the
  // watcher when it parses the rules and by the hook thread once per window in front.
  virtual const ProgramNameText& ProgramNames() = 0;

  // Session notifications (WTSRegisterSessionNotification for a window of the hook thread):
  // while watched, a lock and an unlock of the session call the engine's SessionLocked and
  // SessionUnlocked on the hook thread.
  virtual void WatchSessionChanges(bool watch) = 0;

  // The watchdog of the hooks: a timer on the hook thread that calls the engine's
  // CheckHooksAlive every kHookWatchdogPeriodMs while the hooks are started.
  virtual void StartHookWatchdog() = 0;
  virtual void StopHookWatchdog() = 0;
  // A one-shot timer on the hook thread for a tap-hold key still undecided: the engine's
  // TapHoldTimeUp runs once `delayMs` has passed. Starting it again moves it.
  virtual void StartTapHoldTimer(std::uint32_t delayMs) = 0;
  virtual void StopTapHoldTimer() = 0;
  // GetTickCount, and the tick of the last input the system saw (GetLastInputInfo).
  virtual std::uint32_t TickCount() = 0;
  virtual std::uint32_t LastInputTick() = 0;
  // This process, and whether a process still runs: one with its id runs and started at its
  // time (ids are reused). When the system cannot tell, it counts as running.
  virtual ProcessIdentity CurrentProcess() = 0;
  virtual bool IsProcessRunning(const ProcessIdentity& process) = 0;
  // The owner's identity that every process mapping the library shares (any of them may write
  // anything there): replaced by `desired` if it holds `expected`, in one step that no other
  // process's exchange can come between. Returns what it held before: the exchange took place
  // when that is `expected`. A zero identity means no owner.
  virtual ProcessIdentity ExchangeSharedOwner(const ProcessIdentity& expected,
                                              const ProcessIdentity& desired) = 0;

  // A line for the debugger output.
  virtual void DebugLine(std::string_view line) = 0;

  // How far the mouse may move from where a button went down before the system takes it as a
  // drag (SM_CXDRAG, SM_CYDRAG: pixels on either side of the point).
  struct DragDistance {
    std::int32_t x;
    std::int32_t y;
  };
  virtual DragDistance DragThreshold() = 0;
};
