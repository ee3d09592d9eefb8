#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/HookSettings.h"
#include "common/KeyCodePair.h"
#include "hook/HookEngine.h"
#include "hook/HookPlatform.h"
#include "hook/HookState.h"
#include "profile/IniFileProfile.h"
#include "scenario/ScenarioDesktop.h"
#include "sim/SimProgramNameText.h"

// A simulated Windows desktop running the hook engine, as the main program runs it: the host
// window, the low-level hooks, the system's key state, windows with class names, the screen
// saver and a real rule file in a private temporary folder. Physical input goes through the
// hooks; input that the engine injects re-enters them at once, on the same call stack, as on
// Windows. Every effect is written to the trace in the scenario trace format. The member
// functions live in one file per part: SimDesktopInput (physical input), SimDesktopKeyboard (the
// keyboard's messages and the keys the system holds), SimDesktopMouse, SimDesktopHooks (the hooks,
// the clock and the session), SimDesktopRuleFile, SimDesktopPrograms (program starts and the
// device tool), SimDesktopWindows and SimDesktopProcesses.
class SimDesktop final : public HookPlatform, public ScenarioDesktop {
 public:
  static constexpr const char* kDevconPath = "C:\\Tastron\\dc64.exe";

  explicit SimDesktop(std::ostream& trace);
  ~SimDesktop() override;
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;

  // What the main program does before any input: SetConfigINI with the fresh rule file,
  // SetDevconPath, StartHook with the host window, EnableHookStatue(1).
  void StartLikeHost();

  // The engine on the memory of the process the exports are called from (ActAsProcess): each
  // process has its own state.
  HookEngine Engine();
  HookState& State();
  WindowHandle HostWindow() const { return kHostWindow; }

  // ScenarioDesktop.
  HookSettings& HostSettings() override { return hostSettings_; }
  void PushSettings() override;
  void Enable(std::int32_t enabled) override { Engine().EnableHookStatue(enabled); }
  void SetRule(const std::string& section, const std::string& key,
               const std::string& value) override;
  void RemoveRule(const std::string& section, const std::string& key) override;
  void RemoveRuleSection(const std::string& section) override;
  void Key(KeyCodePair key, bool extended, bool down) override;
  void MouseButton(Button button, bool down) override;
  void Wheel(std::int16_t delta) override;
  void Move(std::int32_t dx, std::int32_t dy) override;
  void DuringInjection(const Input& input) override { duringInjection_.push_back(input); }
  void Finish() override { DeliverDuringInjection(); }
  void Wait(std::chrono::milliseconds duration) override { AdvanceTime(duration); }
  void HooksRemoved(HookSet hooks) override;
  void SessionLock() override;
  void SessionUnlock() override;
  // The rule file notes that go with the device tool's runs, and the broadcast after a run, are
  // done off the hook thread: a scenario line shows them after its other effects, once the runs
  // asked for have done them. The library's rule file watcher runs a round after every line
  // (and before each physical event), so the line after one that changed the rule file sees the
  // new rules.
  void Settle() override {
    DoDueToolEffects();
    RunRuleWatcher();
  }
  bool HasWindow(const std::string& name) const override { return WindowByName(name).has_value(); }
  void DeclareWindow(const std::string& name, const std::string& className, bool hidden,
                     const std::string* parentName, const std::string* program) override;
  void Foreground(const std::string& name) override {
    foreground_ = WindowByName(name).value_or(0);
  }
  void Focus(const std::string& name) override { focus_ = WindowByName(name).value_or(0); }
  void Cursor(const std::string& name) override { cursor_ = WindowByName(name).value_or(0); }
  void ScreenSaver(bool active) override { screenSaverActive_ = active; }
  void HostGone() override { hostAlive_ = false; }
  void LoadRuleFile(const std::string& bytes) override;

  std::optional<WindowHandle> WindowByName(const std::string& name) const;
  // How often the library asked which program a window belongs to.
  int ProgramQueries() const { return programQueries_; }
  // How often the library asked which window is in front.
  int ForegroundQueries() const { return foregroundQueries_; }
  // What the system answers from now on when asked for the program of this top-level window,
  // instead of the program it was declared with: a process that cannot be asked (elevated,
  // protected) names none ({"", true}); a frame host whose app has not attached yet gives an
  // answer that is not settled.
  void AnswerForProgram(const std::string& windowName, WindowProgram answer);

  // Makes SetWindowsHookExA fail for that kind from now on.
  void FailHookInstall(HookKind kind) {
    (kind == HookKind::Keyboard ? keyboardFails_ : mouseFails_) = true;
  }
  bool HookInstalled(HookKind kind) const { return HookCount(kind) > 0; }
  // How many hooks of that kind the system calls (more than one would decide events twice).
  int HookCount(HookKind kind) const {
    return kind == HookKind::Keyboard ? keyboardHooks_ : mouseHooks_;
  }
  // The system removes the hook without telling the library, as Windows does with a hook whose
  // call outlasted its time-out: events then bypass it.
  void SystemRemovesHook(HookKind kind) {
    (kind == HookKind::Keyboard ? keyboardHooks_ : mouseHooks_) = 0;
  }
  // The exports are called from this process from now on (the desktop's own host is kHostProcess);
  // EndProcess ends one without its library being told (the system removes its hooks).
  // A process that is not running yet starts, and one running with the same id has ended
  // (ids are reused only once free).
  static constexpr ProcessIdentity kHostProcess{100, 1};
  void ActAsProcess(ProcessIdentity process);
  void EndProcess(ProcessIdentity process);
  // Another program starts with this id and start time, and calls nothing of the library.
  void StartOtherProgram(ProcessIdentity process);
  // The owner's identity in the library's shared section, for tests to write anything into.
  ProcessIdentity& SharedOwner() { return sharedOwner_; }
  // Two claimants racing: just before the `nth` exchange of the shared owner from now, process
  // `other` makes `calls` on its own engine, and then the process that was calling goes on.
  void InterleaveBeforeOwnerExchange(int nth, ProcessIdentity other,
                                     std::function<void(HookEngine&)> calls);

  // Input the system sees but gives no hook (the secure desktop, a window of an elevated
  // program).
  void InputElsewhere() { lastInput_ = TickCount(); }
  // Lets simulated time pass; the hooks' watchdog ticks as it would.
  void AdvanceTime(std::chrono::milliseconds duration);
  const std::vector<std::string>& DebugLines() const { return debugLines_; }

  // The simulated device tool runs this long (0 by default: it ends at once). Time passes only
  // while the hook waits for it.
  struct DeviceToolRun {
    std::string parameters;
    std::chrono::milliseconds start;
    std::chrono::milliseconds end;
  };
  void SetDeviceToolDuration(std::chrono::milliseconds duration) { toolDuration_ = duration; }
  // The system's ANSI code page, in which the rule file's section names are read (Western
  // unless set), from the next reading of the rules on. The bytes the rule file gets stay the
  // script's text.
  void SetCodePage(SimCodePage codePage) { programNames_.SetCodePage(codePage); }
  // Whether the simulated device tool's runs end with success (they do by default).
  void SetDeviceToolSucceeds(bool succeeds) { toolSucceeds_ = succeeds; }
  // A stalled program start (a file on an unreachable share): the programs asked for wait in
  // line, untraced, until the stall ends.
  void StallProgramStarts(bool stalled);
  const std::vector<DeviceToolRun>& DeviceToolRuns() const { return toolRuns_; }
  // The longest time one hook call held the thread, by the simulated clock.
  std::chrono::milliseconds LongestHookCall() const { return longestHookCall_; }

  // The simulated system signals a change of the rule file's folder for every write made
  // through this desktop; tests can make it lose those signals, as a real one may.
  void LoseChangeSignals(bool lose) { loseChangeSignals_ = lose; }
  // How often the library read the whole rule file.
  int RuleFileReads() const { return ruleFileReads_; }
  // Reads of the rule file fail (a sharing violation, an I/O error) while this is set.
  void FailRuleFileReads(bool fail) { failReads_ = fail; }
  // The library's rule file watcher runs a round between commands and before each physical
  // event, as its thread would meanwhile; tests can hold it back to see the events in between.
  void HoldRuleWatcher(bool hold) { holdWatcher_ = hold; }
  void RunRuleWatcher();
  const std::string& WatchedRuleFile() const { return watchedFile_; }
  // File system calls the library made inside a hook call (each also a fault): none may be.
  int FileCallsInHookCalls() const { return fileCallsInHookCalls_; }

  bool SystemKeyDown(std::uint8_t virtualKey) const { return systemKeys_[virtualKey]; }
  // The physical releases that reached the system for a key or button it did not hold (and whose
  // press had not reached it either), as trace lines ("key up 41/1e").
  const std::vector<std::string>& ReleasesOfKeysUp() const { return releasesOfKeysUp_; }
  // The system holds every Shift, Ctrl and Alt it is given on the side its extended flag names,
  // as Wine's server does, while the hooks are told the key as it came: a right Shift without
  // the flag (as Windows' keyboards send it) is then held as the left one.
  void TakeSidesFromExtendedFlag(bool take) { sidesFromExtendedFlag_ = take; }
  const std::string& RuleFilePath() const { return ruleFile_; }
  Profile& RuleProfile() { return profile_; }

  // HookPlatform.
  HookHandle InstallHook(HookKind kind) override;
  void RemoveHook(HookHandle hook) override;
  bool IsKeyDown(std::uint8_t virtualKey) override { return systemKeys_[virtualKey]; }
  void InjectKey(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;
  void InjectMouse(std::uint32_t flags) override;
  RuleFileCheck CheckRuleFile(const char* file) override;
  RuleFileRead ReadRuleFile(const char* file, std::uint64_t largest) override;
  void WatchRuleFile(const char* file, RuleCache& rules) override {
    watchedFile_ = file;
    watchedRules_ = &rules;
  }
  void StopWatchingRuleFile() override { watchedRules_ = nullptr; }
  void StartProgram(std::string_view file, std::string_view parameters, int show) override;
  void StartOnLockWorker(std::string_view file, std::string_view parameters, int show) override;
  void RunDeviceTool(const char* path, std::string_view parameters, std::chrono::milliseconds wait,
                     const DeviceToolEntry& note, bool monitorOffWhenEnded) override;
  void PostMessageTo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
  void BroadcastMonitorOff() override;
  bool IsScreenSaverActive() override { return screenSaverActive_; }
  void SetScreenSaverActive(bool active) override;
  std::string ExpandEnvironment(std::string_view text) override;
  bool IsWindow(WindowHandle window) override;
  WindowHandle FocusWindow() override { return focus_; }
  WindowHandle WindowUnderCursor() override { return cursor_; }
  std::string ClassName(WindowHandle window) override;
  WindowHandle FindChildWindow(WindowHandle parent, WindowHandle after,
                               const char* className) override;
  bool IsWindowVisible(WindowHandle window) override;
  WindowHandle ForegroundWindow() override {
    ++foregroundQueries_;
    return foreground_;
  }
  WindowProgram ProgramOfWindow(WindowHandle window) override;
  const ProgramNameText& ProgramNames() override { return programNames_; }
  // Windows' default: 4 pixels on either side.
  DragDistance DragThreshold() override { return {4, 4}; }
  void WatchSessionChanges(bool watch) override { sessionWatched_ = watch; }
  bool SessionLocked() const { return sessionLocked_; }
  void StartHookWatchdog() override {
    watchdog_ = true;
    nextTick_ = now_ + std::chrono::milliseconds{kHookWatchdogPeriodMs};
  }
  void StopHookWatchdog() override { watchdog_ = false; }
  void StartTapHoldTimer(std::uint32_t delayMs) override {
    tapHoldDue_ = now_ + std::chrono::milliseconds{delayMs};
  }
  void StopTapHoldTimer() override { tapHoldDue_.reset(); }
  std::uint32_t TickCount() override { return static_cast<std::uint32_t>(now_.count()); }
  std::uint32_t LastInputTick() override { return lastInput_; }
  void DebugLine(std::string_view line) override { debugLines_.emplace_back(line); }
  ProcessIdentity CurrentProcess() override { return process_; }
  bool IsProcessRunning(const ProcessIdentity& process) override {
    return std::find(running_.begin(), running_.end(), process) != running_.end();
  }
  ProcessIdentity ExchangeSharedOwner(const ProcessIdentity& expected,
                                      const ProcessIdentity& desired) override;

 private:
  struct SimWindow {
    std::string name;
    std::string className;
    bool hidden = false;
    WindowHandle parent = 0;
    WindowHandle handle = 0;
    std::string program;                  // a top-level window's; empty: a program no script names
    std::optional<WindowProgram> answer;  // overrides `program` when asked
  };

  static constexpr WindowHandle kHostWindow = 0x10010;
  static constexpr HookHandle kKeyboardHookHandle = 0x7001;
  static constexpr HookHandle kMouseHookHandle = 0x7002;

  // A call of a hook procedure, timed by the simulated clock (the outermost one of nested calls).
  template <typename Call>
  HookVerdict TimedHookCall(Call call) {
    const auto started = now_;
    ++hookDepth_;
    const HookVerdict verdict = call();
    --hookDepth_;
    if (hookDepth_ == 0) longestHookCall_ = std::max(longestHookCall_, now_ - started);
    return verdict;
  }
  void DeliverKey(std::uint8_t virtualKey, std::uint8_t scanCode, bool extended, bool down,
                  bool injected);
  void DeliverMouse(std::uint32_t message, std::uint32_t mouseData, bool injected);
  void DeliverInput(const Input& input);
  // The physical events waiting for the library's next injection arrive now.
  void DeliverDuringInjection();
  std::uint32_t KeyMessage(std::uint8_t virtualKey, bool down);
  void SetSystemKey(std::uint8_t virtualKey, bool down);
  const SimWindow* Find(WindowHandle window) const;
  std::string NameOf(WindowHandle window) const;

  std::ostream& trace_;
  HookState state_;
  HookLocalState local_;
  HookSettings hostSettings_{};
  IniFileProfile profile_;
  std::filesystem::path folder_;
  std::string ruleFile_;

  std::array<bool, 256> systemKeys_{};
  std::vector<std::string> releasesOfKeysUp_;
  std::array<bool, 256> pressedSinceRelease_{};
  // Whether this physical event is a release that reaches the system for a key that is up there.
  bool NoteRelease(std::uint8_t key, bool down, bool injected);
  int keyboardHooks_ = 0;
  bool keyboardFails_ = false;
  bool mouseFails_ = false;
  int mouseHooks_ = 0;
  bool hostAlive_ = true;
  bool altTapPending_ = false;  // Alt went down as a system key and nothing else came since
  bool sidesFromExtendedFlag_ = false;
  bool screenSaverActive_ = false;
  std::vector<SimWindow> windows_;
  WindowHandle focus_ = 0;
  WindowHandle cursor_ = 0;
  WindowHandle foreground_ = 0;
  int programQueries_ = 0;
  SimProgramNameText programNames_;
  int foregroundQueries_ = 0;

  std::chrono::milliseconds now_{0};
  std::chrono::milliseconds toolDuration_{0};
  std::vector<DeviceToolRun> toolRuns_;
  bool toolSucceeds_ = true;
  // What the device tool's worker does at a run's start or end: a rule file note, or the
  // monitor-off broadcast.
  struct DueEffect {
    std::chrono::milliseconds due;
    std::optional<DeviceToolEntry> note;
  };
  std::vector<DueEffect> dueEffects_;
  void DoDueToolEffects();
  bool sessionWatched_ = false;
  bool sessionLocked_ = false;
  bool programStartsStalled_ = false;
  std::vector<std::string> stalledStarts_;
  std::chrono::milliseconds longestHookCall_{0};
  int hookDepth_ = 0;
  void SignalRuleFileChange() { changeSignalled_ = !loseChangeSignals_; }

  std::vector<Input> duringInjection_;
  bool watchdog_ = false;
  std::chrono::milliseconds nextTick_{0};
  std::optional<std::chrono::milliseconds> tapHoldDue_;
  std::uint32_t lastInput_ = 0;
  std::vector<std::string> debugLines_;
  bool changeSignalled_ = true;
  bool loseChangeSignals_ = false;
  int ruleFileReads_ = 0;
  ProcessIdentity process_ = kHostProcess;
  std::vector<ProcessIdentity> running_{kHostProcess};
  ProcessIdentity sharedOwner_;
  struct ProcessMemory {
    ProcessIdentity process;
    HookState state;
    HookLocalState local;
  };
  // The memory of the processes other than the host (whose memory is state_ and local_).
  std::vector<std::unique_ptr<ProcessMemory>> otherMemory_;
  ProcessMemory& MemoryOf(ProcessIdentity process);
  struct InterleavedClaim {
    int countdown = 0;
    ProcessIdentity process;
    std::function<void(HookEngine&)> calls;
  };
  std::optional<InterleavedClaim> interleaved_;
  bool failReads_ = false;
  bool holdWatcher_ = false;
  std::string watchedFile_;
  RuleCache* watchedRules_ = nullptr;
  int fileCallsInHookCalls_ = 0;
  void NoteFileCall(const char* what);
  // The rule file entries the device tool's worker writes (no call of the library's).
  void WriteEntry(const char* file, std::string_view section, std::string_view key,
                  std::string_view value);
  void DeleteEntry(const char* file, std::string_view section, std::string_view key);
  std::int32_t cursorX_ = 500;
  std::int32_t cursorY_ = 400;
};
