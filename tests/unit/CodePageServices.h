#pragma once

#include <map>
#include <string>

#include "sim/FakeServices.h"

// FakeServices with a user folder and an ANSI code page of the test's choosing, for the paths
// handed to the hook library. Everything else goes to the FakeServices underneath. The "bytes"
// of a path in the code page are its UTF-8 text: what matters is which path is handed over.
class CodePageServices final : public Services {
 public:
  enum class CodePage { Western, Korean };

  explicit CodePageServices(FakeServices& fake) : fake_(fake) {}

  void SetCodePage(CodePage codePage) { codePage_ = codePage; }
  void SetUserAppDataFolder(const std::string& folder) { appData_ = folder; }
  // The file system's short form of an existing folder (none: short names are switched off).
  void AddShortForm(const std::string& folder, const std::string& shortForm) {
    shortForms_[folder] = shortForm;
  }

  std::optional<std::string> PathForAnsiCodePage(const std::string& path,
                                                 std::size_t maxBytes) override {
    if (Holds(path) && path.size() <= maxBytes) return path;
    for (const auto& [folder, shortForm] : shortForms_) {
      if (path.rfind(folder + "\\", 0) != 0) continue;
      const std::string shortPath = shortForm + path.substr(folder.size());
      if (Holds(shortPath) && shortPath.size() <= maxBytes) return shortPath;
    }
    return std::nullopt;
  }
  std::string UserAppDataFolder() override {
    return appData_.empty() ? fake_.UserAppDataFolder() : appData_;
  }

  std::optional<RegistryValue> ReadRegistry(RegistryRoot root, const std::string& key,
                                            const std::string& name) override {
    return fake_.ReadRegistry(root, key, name);
  }
  bool WriteRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                     const RegistryValue& value) override {
    return fake_.WriteRegistry(root, key, name, value);
  }
  bool DeleteRegistryValue(RegistryRoot root, const std::string& key,
                           const std::string& name) override {
    return fake_.DeleteRegistryValue(root, key, name);
  }
  std::string ExecutablePath() override { return fake_.ExecutablePath(); }
  std::string WindowsFolder() override { return fake_.WindowsFolder(); }
  bool IsWin64() override { return fake_.IsWin64(); }
  bool FileExists(const std::string& path) override { return fake_.FileExists(path); }
  bool FolderExists(const std::string& path) override { return fake_.FolderExists(path); }
  bool CreateFolder(const std::string& path) override { return fake_.CreateFolder(path); }
  Profile& Profiles() override { return fake_.Profiles(); }
  std::unique_ptr<LoadedModule> LoadModule(const std::string& fileName) override {
    return fake_.LoadModule(fileName);
  }
  void StartProgram(const std::string& file, const std::string& parameters, int show) override {
    fake_.StartProgram(file, parameters, show);
  }
  bool IsWindow(WindowHandle window) override { return fake_.IsWindow(window); }
  std::intptr_t SendMessageTo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override {
    return fake_.SendMessageTo(window, message, wParam, lParam);
  }
  int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 unsigned type) override {
    return fake_.MessageBox(owner, text, caption, type);
  }
  void InitializeUserInterface() override { fake_.InitializeUserInterface(); }
  std::optional<std::string> ChooseFile(WindowHandle owner, bool save, const std::string& title,
                                        const std::string& filter) override {
    return fake_.ChooseFile(owner, save, title, filter);
  }
  std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) override {
    return fake_.ChooseFolder(owner, title);
  }
  WindowHandle TopLevelWindow(WindowHandle window) override { return fake_.TopLevelWindow(window); }
  void ForceForeground(WindowHandle window) override { fake_.ForceForeground(window); }
  void AnimateTray(WindowHandle window, bool intoTray) override {
    fake_.AnimateTray(window, intoTray);
  }
  IconHandle LoadIconFile(const std::string& path) override { return fake_.LoadIconFile(path); }
  std::unique_ptr<TrayIconWindow> CreateTrayIconWindow(WindowHandle owner,
                                                       std::uint32_t activateMessage) override {
    return fake_.CreateTrayIconWindow(owner, activateMessage);
  }
  bool IsKeyDown(int virtualKey) override { return fake_.IsKeyDown(virtualKey); }
  std::uint32_t RegisterWindowMessageNumber(const std::string& name) override {
    return fake_.RegisterWindowMessageNumber(name);
  }
  std::uint32_t TickCount() override { return fake_.TickCount(); }
  std::uint32_t ProcessId() override { return fake_.ProcessId(); }
  std::uint32_t ThreadId() override { return fake_.ThreadId(); }
  void DebugOutput(const std::string& line) override { fake_.DebugOutput(line); }

 private:
  // The Western code page holds ASCII only (for these paths); the Korean one ASCII and the
  // Hangul syllables (U+AC00 to U+D7A3, in UTF-8 EA B0 80 to ED 9E A3).
  bool Holds(const std::string& text) const {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c < 0x80) continue;
      if (codePage_ == CodePage::Western || i + 2 >= text.size()) return false;
      const std::string syllable = text.substr(i, 3);
      if (syllable < "\xEA\xB0\x80" || syllable > "\xED\x9E\xA3") return false;
      i += 2;
    }
    return true;
  }

  FakeServices& fake_;
  CodePage codePage_ = CodePage::Korean;
  std::string appData_;
  std::map<std::string, std::string> shortForms_;
};
