#pragma once

#include <windows.h>

#include "common/win32/Win32ProgramNameText.h"
#include "ui/Services.h"
#include "ui/win32/AnsiProfile.h"

// The services of the main program on the real Windows API.
class Win32Services final : public Services {
 public:
  std::optional<RegistryValue> ReadRegistry(RegistryRoot root, const std::string& key,
                                            const std::string& name) override;
  bool WriteRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                     const RegistryValue& value) override;
  bool DeleteRegistryValue(RegistryRoot root, const std::string& key,
                           const std::string& name) override;
  std::string UserAppDataFolder() override;
  std::string ExecutablePath() override;
  std::string WindowsFolder() override;
  bool IsWin64() override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool DeleteFileAt(const std::string& path) override;
  bool CopyFileTo(const std::string& from, const std::string& to) override;
  bool ReplaceFileWith(const std::string& from, const std::string& to) override;
  Profile& Profiles() override { return profiles_; }
  std::optional<std::string> PathForAnsiCodePage(const std::string& path,
                                                 std::size_t maxBytes) override;
  std::optional<std::string> TextForAnsiCodePage(const std::string& text) override;
  const ProgramNameText& ProgramNames() override { return programNames_; }
  std::unique_ptr<LoadedModule> LoadModule(const std::string& fileName) override;
  void StartProgram(const std::string& file, const std::string& parameters, int show) override;
  bool IsElevated() override;
  std::optional<std::uint32_t> IntegrityLevel() override;
  ForegroundProcess ForegroundProcessRights() override;
  std::unique_ptr<Watch> WatchForeground(WindowHandle window, std::uint32_t message) override;
  std::string UserAccount() override;
  bool RegisterTask(const std::string& name, const std::string& xml) override;
  bool TaskExists(const std::string& name) override;
  bool DeleteTask(const std::string& name) override;
  bool StartElevated(WindowHandle owner, const std::string& file,
                     const std::string& parameters) override;
  void RunDeviceTool(const std::string& tool, const std::string& parameters,
                     std::function<void(bool succeeded)> ended) override;
  bool IsWindow(WindowHandle window) override;
  std::intptr_t SendMessageTo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 unsigned type) override;
  void InitializeUserInterface() override;
  std::optional<std::string> ChooseFile(WindowHandle owner, bool save, const std::string& title,
                                        const std::string& filter) override;
  std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) override;
  std::optional<ShortcutTarget> ReadShortcut(const std::string& path) override;
  WindowHandle TopLevelWindow(WindowHandle window) override;
  void ForceForeground(WindowHandle window) override;
  void AnimateTray(WindowHandle window, bool intoTray) override;
  IconHandle LoadIconFile(const std::string& path) override;
  std::unique_ptr<TrayIconWindow> CreateTrayIconWindow(WindowHandle owner,
                                                       std::uint32_t activateMessage,
                                                       std::uint32_t menuMessage) override;
  int ShowPopupMenu(WindowHandle owner, const std::vector<PopupMenuItem>& items) override;
  std::vector<RunningProgram> RunningPrograms() override;
  bool IsKeyDown(int virtualKey) override { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
  std::uint32_t RegisterWindowMessageNumber(const std::string& name) override {
    return RegisterWindowMessageA(name.c_str());
  }
  std::uint32_t TickCount() override { return GetTickCount(); }
  std::uint32_t LastInputTick() override;
  std::string ClockTime() override;
  std::uint32_t ProcessId() override { return GetCurrentProcessId(); }
  std::uint32_t ThreadId() override { return GetCurrentThreadId(); }
  void DebugOutput(const std::string& line) override;

 private:
  Win32ProgramNameText programNames_;
  AnsiProfile profiles_;
};
