#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "profile/IniFileProfile.h"
#include "sim/SimProgramNameText.h"
#include "ui/Services.h"

// Windows services for tests: an in-memory registry, Windows paths kept in a private temporary
// folder (so that the rule file is a real file), loadable fake modules, windows that answer
// messages, message boxes and choosers that record what they showed and answer from a queue, a
// tick count the test sets, and logs of programs started and debug lines. A message box or a
// chooser with no answer queued would wait for a user who is not there, and an answer that no
// box or chooser took was meant for one that never came: both are faults (SimFaults.h).
class FakeServices final : public Services {
 public:
  struct ShownMessage {
    WindowHandle owner;
    std::string text;
    std::string caption;
    unsigned type;
  };
  struct StartedProgram {
    std::string file;
    std::string parameters;
    int show;
  };
  // A run of the device tool the program asked for; it ends when the test says (EndDeviceToolRun).
  struct ElevatedStart {
    WindowHandle owner;
    std::string file;
    std::string parameters;
  };
  struct DeviceToolRun {
    std::string tool;
    std::string parameters;
    std::function<void(bool succeeded)> ended;
  };
  struct SentMessage {
    WindowHandle window;
    std::uint32_t message;
  };

  // What the notification-area icon shows.
  struct Tray {
    bool exists = false;
    bool shown = false;
    IconHandle icon = 0;
    std::string tooltip;
    std::vector<IconHandle> animation;
    unsigned periodMs = 0;
    WindowHandle owner = 0;
    std::uint32_t activateMessage = 0;
    std::uint32_t menuMessage = 0;
  };

  FakeServices();
  ~FakeServices() override;
  FakeServices(const FakeServices&) = delete;
  FakeServices& operator=(const FakeServices&) = delete;

  // What the test arranges.
  void AddModule(const std::string& fileName, std::map<std::string, void*> exports) {
    modules_[fileName] = std::move(exports);
  }
  // A window that answers every sent message with `answer`.
  void AddWindow(WindowHandle window, std::intptr_t answer) {
    windows_[window] = [answer](std::uint32_t, std::uintptr_t, std::intptr_t) { return answer; };
  }
  // A window whose messages go to `answer` (another instance's window, say), until removed.
  using WindowAnswer = std::function<std::intptr_t(std::uint32_t, std::uintptr_t, std::intptr_t)>;
  void AddWindow(WindowHandle window, WindowAnswer answer) { windows_[window] = std::move(answer); }
  void RemoveWindow(WindowHandle window) { windows_.erase(window); }
  // The next `times` message boxes are answered so (each box the program shows takes one).
  void AnswerNextMessageBox(int answer, int times = 1) {
    answers_.insert(answers_.end(), times, answer);
  }
  void SetTickCount(std::uint32_t tick) { tick_ = tick; }
  void SetLastInputTick(std::uint32_t tick) { lastInput_ = tick; }
  void SetClockTime(const std::string& text) { clockTime_ = text; }
  void SetExecutablePath(const std::string& path) { executable_ = path; }
  void SetWin64(bool win64) { win64_ = win64; }
  void SetElevated(bool elevated) { elevated_ = elevated; }
  // This process's integrity level (medium at first), and what the window in front is (at
  // first a window of the same level).
  void SetIntegrityLevel(std::optional<std::uint32_t> level) { integrityLevel_ = level; }
  void SetForeground(ForegroundProcess front) { foreground_ = front; }
  // The user answers the consent prompt of every start with "runas" with "no".
  void RefuseElevation(bool refuse) { refuseElevation_ = refuse; }
  // The next file or folder chooser answers with this path, or is cancelled with nullopt.
  void AnswerNextChooser(std::optional<std::string> path) { chooserAnswers_.push_back(path); }
  // The next shortcut menu is closed by choosing this command (0: by a click elsewhere). A
  // command the menu has not, or has greyed, cannot be chosen: the test fails.
  void AnswerNextMenu(int command) { menuAnswers_.push_back(command); }
  // What RunningPrograms answers.
  void SetRunningPrograms(std::vector<RunningProgram> programs) { running_ = std::move(programs); }
  // A shortcut file and what it stores; other ".lnk" files read as empty shortcuts, as the
  // shell reads a file it cannot load.
  void AddShortcut(const std::string& path, ShortcutTarget target) {
    shortcuts_[path] = std::move(target);
  }
  void SetTopLevelWindow(WindowHandle child, WindowHandle top) { topLevel_[child] = top; }
  // A full disk or a locked file: writes to files whose Windows path starts with `pathPrefix`
  // (profile writes, copies and replacements onto them; deleting still works) fail once
  // `allowedWrites` succeeded.
  void FailWritesTo(const std::string& pathPrefix, int allowedWrites) {
    failingPrefix_ = pathPrefix;
    allowedWrites_ = allowedWrites;
  }
  // A registry that takes no more writes once `allowedWrites` succeeded (negative: no limit).
  void FailRegistryWrites(int allowedWrites) { registryWritesLeft_ = allowedWrites; }
  // The host file that stands for a Windows path.
  std::filesystem::path HostPath(const std::string& windowsPath) const;

  // What the program did.
  const std::vector<ShownMessage>& MessageBoxes() const { return shown_; }
  // The last message box shown. A test that looks for one where none came fails, and reads an
  // empty box instead of memory that is not there.
  const ShownMessage& LastMessageBox() const;
  const std::vector<StartedProgram>& StartedPrograms() const { return started_; }
  const std::vector<ElevatedStart>& ElevatedStarts() const { return elevatedStarts_; }
  // The task scheduler's tasks by name, with their XML definitions.
  const std::map<std::string, std::string>& Tasks() const { return tasks_; }
  const std::vector<DeviceToolRun>& DeviceToolRuns() const { return toolRuns_; }
  void EndDeviceToolRun(std::size_t index, bool succeeded) { toolRuns_.at(index).ended(succeeded); }
  const std::vector<SentMessage>& SentMessages() const { return sent_; }
  // The foreground watch while it lives: the window it tells and the message it posts.
  struct ForegroundWatcher {
    WindowHandle window;
    std::uint32_t message;
  };
  const std::optional<ForegroundWatcher>& ForegroundWatch() const { return foregroundWatch_; }
  const std::vector<std::string>& DebugLines() const { return debugLines_; }
  const std::vector<std::string>& LoadedModules() const { return loaded_; }
  // Every export name looked up in a loaded module, in order.
  const std::vector<std::string>& ExportLookups() const { return lookups_; }
  bool RegistryIsEmpty() const { return registry_.empty(); }
  const Tray& TrayIcon() const { return tray_; }
  // Every shortcut menu shown, in order.
  const std::vector<std::vector<PopupMenuItem>>& MenusShown() const { return menus_; }
  // "chooser open|save|folder TITLE", "foreground HANDLE", "animate into|out HANDLE",
  // "menu OWNER".
  const std::vector<std::string>& WindowCalls() const { return windowCalls_; }
  // The owner window of each file or folder chooser, in order.
  const std::vector<WindowHandle>& ChooserOwners() const { return chooserOwners_; }

  // The user's application-data folder, and the ANSI code page of the paths handed to the hook
  // library and of the rule file (SimCodePageHolds tells what each holds). A path's "bytes" in
  // the code page are its UTF-8 text; what matters is which path goes.
  using CodePage = SimCodePage;
  void SetUserAppDataFolder(const std::string& folder) { appData_ = folder; }
  void SetCodePage(CodePage codePage) { programNames_.SetCodePage(codePage); }
  // The file system's short form of an existing folder (none: short names are switched off).
  void AddShortForm(const std::string& folder, const std::string& shortForm) {
    shortForms_[folder] = shortForm;
  }

  // Services.
  std::optional<RegistryValue> ReadRegistry(RegistryRoot root, const std::string& key,
                                            const std::string& name) override;
  bool WriteRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                     const RegistryValue& value) override;
  bool DeleteRegistryValue(RegistryRoot root, const std::string& key,
                           const std::string& name) override;
  std::string UserAppDataFolder() override { return appData_; }
  std::string ExecutablePath() override { return executable_; }
  std::string WindowsFolder() override { return "C:\\Windows"; }
  bool IsWin64() override { return win64_; }
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool DeleteFileAt(const std::string& path) override;
  bool CopyFileTo(const std::string& from, const std::string& to) override;
  bool ReplaceFileWith(const std::string& from, const std::string& to) override;
  Profile& Profiles() override { return profiles_; }
  std::optional<std::string> PathForAnsiCodePage(const std::string& path,
                                                 std::size_t maxBytes) override;
  std::optional<std::string> TextForAnsiCodePage(const std::string& text) override {
    return PathForAnsiCodePage(text, std::string::npos);
  }
  const ProgramNameText& ProgramNames() override { return programNames_; }
  std::unique_ptr<LoadedModule> LoadModule(const std::string& fileName) override;
  void StartProgram(const std::string& file, const std::string& parameters, int show) override {
    started_.push_back({file, parameters, show});
  }
  bool IsElevated() override { return elevated_; }
  std::optional<std::uint32_t> IntegrityLevel() override { return integrityLevel_; }
  ForegroundProcess ForegroundProcessRights() override { return foreground_; }
  // One watch at a time: a second one would tell the window twice.
  std::unique_ptr<Watch> WatchForeground(WindowHandle window, std::uint32_t message) override;
  bool StartElevated(WindowHandle owner, const std::string& file,
                     const std::string& parameters) override {
    elevatedStarts_.push_back({owner, file, parameters});
    return !refuseElevation_;
  }
  std::string UserAccount() override { return "TESTPC\\tester"; }
  bool RegisterTask(const std::string& name, const std::string& xml) override {
    if (!elevated_) return false;  // Windows refuses a task of the highest rights
    tasks_[name] = xml;
    return true;
  }
  bool TaskExists(const std::string& name) override { return tasks_.count(name) != 0; }
  bool DeleteTask(const std::string& name) override { return elevated_ && tasks_.erase(name) != 0; }
  void RunDeviceTool(const std::string& tool, const std::string& parameters,
                     std::function<void(bool succeeded)> ended) override {
    toolRuns_.push_back({tool, parameters, std::move(ended)});
  }
  bool IsWindow(WindowHandle window) override { return windows_.count(window) != 0; }
  std::intptr_t SendMessageTo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 unsigned type) override;
  void InitializeUserInterface() override { userInterfaceReady_ = true; }
  std::optional<std::string> ChooseFile(WindowHandle owner, bool save, const std::string& title,
                                        const std::string& filter) override;
  std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) override;
  std::optional<ShortcutTarget> ReadShortcut(const std::string& path) override {
    const auto found = shortcuts_.find(path);
    return found == shortcuts_.end() ? ShortcutTarget{} : found->second;
  }
  WindowHandle TopLevelWindow(WindowHandle window) override {
    const auto found = topLevel_.find(window);
    return found == topLevel_.end() ? window : found->second;
  }
  void ForceForeground(WindowHandle window) override {
    windowCalls_.push_back("foreground " + std::to_string(window));
  }
  void AnimateTray(WindowHandle window, bool intoTray) override {
    windowCalls_.push_back(std::string("animate ") + (intoTray ? "into " : "out ") +
                           std::to_string(window));
  }
  IconHandle LoadIconFile(const std::string& path) override;
  std::unique_ptr<TrayIconWindow> CreateTrayIconWindow(WindowHandle owner,
                                                       std::uint32_t activateMessage,
                                                       std::uint32_t menuMessage) override;
  int ShowPopupMenu(WindowHandle owner, const std::vector<PopupMenuItem>& items) override;
  std::vector<RunningProgram> RunningPrograms() override { return running_; }
  bool UserInterfaceReady() const { return userInterfaceReady_; }
  bool IsKeyDown(int virtualKey) override { return keysDown_.count(virtualKey) != 0; }
  void SetKeyDown(int virtualKey, bool down) {
    if (down) {
      keysDown_.insert(virtualKey);
    } else {
      keysDown_.erase(virtualKey);
    }
  }
  std::uint32_t RegisterWindowMessageNumber(const std::string& name) override {
    const auto found = registered_.find(name);
    if (found != registered_.end()) return found->second;
    return registered_[name] = 0xC000 + static_cast<std::uint32_t>(registered_.size());
  }
  std::uint32_t TickCount() override { return tick_; }
  std::uint32_t LastInputTick() override { return lastInput_; }
  std::string ClockTime() override { return clockTime_; }
  std::uint32_t ProcessId() override { return 0x1234; }
  std::uint32_t ThreadId() override { return 0xABCD; }
  void DebugOutput(const std::string& line) override { debugLines_.push_back(line); }

 private:
  // The profile functions on the host files that stand for Windows paths.
  class MappedProfile final : public Profile {
   public:
    explicit MappedProfile(FakeServices& owner) : owner_(owner) {}
    std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize) override;
    ProfileSection GetSection(std::string_view file, std::string_view section,
                              std::size_t bufferSize) override;
    std::vector<std::string> SectionNames(std::string_view file) override;
    std::int32_t GetInt(std::string_view file, std::string_view section, std::string_view key,
                        std::int32_t defaultValue) override;
    bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value) override;
    bool DeleteKey(std::string_view file, std::string_view section, std::string_view key) override;
    bool DeleteSection(std::string_view file, std::string_view section) override;
    bool ReplaceSections(std::string_view file, const std::vector<SectionLines>& sections) override;

   private:
    std::string Map(std::string_view file) const;
    FakeServices& owner_;
    IniFileProfile files_;
  };

  // A file or folder chooser: `call` is what WindowCalls notes after "chooser ".
  std::optional<std::string> Chooser(WindowHandle owner, const std::string& call);
  using RegistryName = std::tuple<RegistryRoot, std::string, std::string>;
  // False when the test made writes to this file fail.
  bool MayWrite(std::string_view windowsPath);

  std::filesystem::path root_;
  MappedProfile profiles_{*this};
  std::map<RegistryName, RegistryValue> registry_;
  int registryWritesLeft_ = -1;
  std::map<std::string, std::map<std::string, void*>> modules_;
  std::map<WindowHandle, WindowAnswer> windows_;
  std::deque<int> answers_;
  std::vector<ShownMessage> shown_;
  std::vector<StartedProgram> started_;
  std::vector<ElevatedStart> elevatedStarts_;
  bool elevated_ = false;
  bool refuseElevation_ = false;
  std::optional<std::uint32_t> integrityLevel_ = 0x2000;
  ForegroundProcess foreground_{true, 0x2000};
  std::optional<ForegroundWatcher> foregroundWatch_;
  std::map<std::string, std::string> tasks_;
  std::vector<DeviceToolRun> toolRuns_;
  std::vector<SentMessage> sent_;
  std::vector<std::string> debugLines_;
  std::vector<std::string> loaded_;
  std::vector<std::string> lookups_;
  std::uint32_t tick_ = 1000;
  std::uint32_t lastInput_ = 0;
  std::string clockTime_ = "12:00";
  std::string executable_ = "C:\\Program Files\\Tastron\\Tastron.exe";
  bool win64_ = true;
  bool userInterfaceReady_ = false;
  std::deque<std::optional<std::string>> chooserAnswers_;
  std::deque<int> menuAnswers_;
  std::vector<RunningProgram> running_;
  std::vector<std::vector<PopupMenuItem>> menus_;
  std::map<std::string, ShortcutTarget> shortcuts_;
  std::map<WindowHandle, WindowHandle> topLevel_;
  std::vector<std::string> windowCalls_;
  std::vector<WindowHandle> chooserOwners_;
  Tray tray_;
  std::set<int> keysDown_;
  std::string failingPrefix_;
  int allowedWrites_ = 0;
  std::map<std::string, std::uint32_t> registered_;
  IconHandle nextIcon_ = 0x700;
  std::string appData_ = "C:\\Users\\tester\\AppData\\Roaming";
  SimProgramNameText programNames_;
  std::map<std::string, std::string> shortForms_;
};
