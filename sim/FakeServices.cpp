#include "sim/FakeServices.h"

#include <cstdlib>
#include <stdexcept>

#include "common/TextCase.h"
#include "sim/SimFaults.h"

namespace {

class FakeModule final : public LoadedModule {
 public:
  FakeModule(const std::map<std::string, void*>& exports, std::vector<std::string>& lookups)
      : exports_(exports), lookups_(lookups) {}
  void* Export(const char* name) override {
    lookups_.push_back(name);
    const auto found = exports_.find(name);
    return found == exports_.end() ? nullptr : found->second;
  }

 private:
  std::map<std::string, void*> exports_;
  std::vector<std::string>& lookups_;
};

class FakeTrayIconWindow final : public TrayIconWindow {
 public:
  explicit FakeTrayIconWindow(FakeServices::Tray& tray) : tray_(tray) {}
  ~FakeTrayIconWindow() override {
    tray_.shown = false;
    tray_.exists = false;
  }
  bool Show(IconHandle icon, const std::string& tooltip) override {
    tray_.shown = true;
    tray_.icon = icon;
    tray_.tooltip = tooltip;
    return true;
  }
  void Hide() override { tray_.shown = false; }
  bool IsShown() const override { return tray_.shown; }
  void Animate(const std::vector<IconHandle>& icons, unsigned periodMs) override {
    tray_.animation = icons;
    tray_.periodMs = periodMs;
  }

 private:
  FakeServices::Tray& tray_;
};

}  // namespace

std::optional<std::string> FakeServices::ChooseFile(WindowHandle owner, bool save,
                                                    const std::string& title,
                                                    const std::string& /*filter*/) {
  return Chooser(owner, std::string(save ? "save " : "open ") + title);
}

std::optional<std::string> FakeServices::ChooseFolder(WindowHandle owner,
                                                      const std::string& title) {
  return Chooser(owner, "folder " + title);
}

std::optional<std::string> FakeServices::Chooser(WindowHandle owner, const std::string& call) {
  chooserOwners_.push_back(owner);
  windowCalls_.push_back("chooser " + call);
  if (chooserAnswers_.empty()) {
    ReportSimFault("a chooser that no answer waited for: " + call);
    return std::nullopt;
  }
  auto answer = chooserAnswers_.front();
  chooserAnswers_.pop_front();
  return answer;
}

int FakeServices::ShowPopupMenu(WindowHandle owner, const std::vector<PopupMenuItem>& items) {
  menus_.push_back(items);
  windowCalls_.push_back("menu " + std::to_string(owner));
  if (menuAnswers_.empty()) {
    ReportSimFault("a shortcut menu that no answer waited for");
    return 0;
  }
  const int command = menuAnswers_.front();
  menuAnswers_.pop_front();
  if (command == 0) return 0;
  for (const PopupMenuItem& item : items) {
    if (item.command == command && item.enabled) return command;
  }
  ReportSimFault("a menu command that cannot be chosen: " + std::to_string(command));
  return 0;
}

IconHandle FakeServices::LoadIconFile(const std::string& path) {
  return FileExists(path) ? nextIcon_++ : 0;
}

std::unique_ptr<TrayIconWindow> FakeServices::CreateTrayIconWindow(WindowHandle owner,
                                                                   std::uint32_t activateMessage,
                                                                   std::uint32_t menuMessage) {
  tray_ = Tray{};
  tray_.exists = true;
  tray_.owner = owner;
  tray_.activateMessage = activateMessage;
  tray_.menuMessage = menuMessage;
  return std::make_unique<FakeTrayIconWindow>(tray_);
}

FakeServices::FakeServices() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tastron-fake.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  std::filesystem::create_directory(root_ / "c");  // the drive's root always exists
}

FakeServices::~FakeServices() {
  for (const int answer : answers_) {
    ReportSimFault("a message box answer (" + std::to_string(answer) + ") that no box took");
  }
  for (const int command : menuAnswers_) {
    ReportSimFault("a menu answer (" + std::to_string(command) + ") that no menu took");
  }
  for (const auto& answer : chooserAnswers_) {
    ReportSimFault("a chooser answer (" + answer.value_or("cancelled") + ") that no chooser took");
  }
  if (foregroundWatch_) ReportSimFault("a foreground watch that was never ended");
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path FakeServices::HostPath(const std::string& windowsPath) const {
  std::string relative = windowsPath;
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  if (relative.size() >= 2 && relative[1] == ':') {
    relative = std::string(1, AsciiLower(relative[0])) + relative.substr(2);
  }
  // Windows names ignore case; the host folder keeps them in lower case.
  return root_ / ToAsciiLower(relative);
}

std::optional<RegistryValue> FakeServices::ReadRegistry(RegistryRoot root, const std::string& key,
                                                        const std::string& name) {
  const auto found = registry_.find({root, ToAsciiLower(key), ToAsciiLower(name)});
  if (found == registry_.end()) return std::nullopt;
  return found->second;
}

bool FakeServices::WriteRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                                 const RegistryValue& value) {
  if (registryWritesLeft_ == 0) return false;
  if (registryWritesLeft_ > 0) --registryWritesLeft_;
  registry_[{root, ToAsciiLower(key), ToAsciiLower(name)}] = value;
  return true;
}

bool FakeServices::DeleteRegistryValue(RegistryRoot root, const std::string& key,
                                       const std::string& name) {
  return registry_.erase({root, ToAsciiLower(key), ToAsciiLower(name)}) != 0;
}

bool FakeServices::FileExists(const std::string& path) {
  return std::filesystem::is_regular_file(HostPath(path));
}

bool FakeServices::FolderExists(const std::string& path) {
  return std::filesystem::is_directory(HostPath(path));
}

bool FakeServices::CreateFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::create_directory(HostPath(path), error);
}

bool FakeServices::MayWrite(std::string_view windowsPath) {
  if (failingPrefix_.empty() || windowsPath.substr(0, failingPrefix_.size()) != failingPrefix_) {
    return true;
  }
  if (allowedWrites_ == 0) return false;
  --allowedWrites_;
  return true;
}

bool FakeServices::DeleteFileAt(const std::string& path) {
  std::error_code error;
  // A full disk still lets files go.
  return std::filesystem::remove(HostPath(path), error);
}

bool FakeServices::CopyFileTo(const std::string& from, const std::string& to) {
  std::error_code error;
  return MayWrite(to) &&
         std::filesystem::copy_file(HostPath(from), HostPath(to),
                                    std::filesystem::copy_options::overwrite_existing, error);
}

bool FakeServices::ReplaceFileWith(const std::string& from, const std::string& to) {
  std::error_code error;
  if (!MayWrite(to)) return false;
  std::filesystem::rename(HostPath(from), HostPath(to), error);
  return !error;
}

std::unique_ptr<LoadedModule> FakeServices::LoadModule(const std::string& fileName) {
  const auto found = modules_.find(fileName);
  if (found == modules_.end()) return nullptr;
  loaded_.push_back(fileName);
  return std::make_unique<FakeModule>(found->second, lookups_);
}

std::intptr_t FakeServices::SendMessageTo(WindowHandle window, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t lParam) {
  sent_.push_back({window, message});
  const auto found = windows_.find(window);
  if (found == windows_.end()) return 0;
  const WindowAnswer answer = found->second;  // the answer may remove the window
  return answer(message, wParam, lParam);
}

const FakeServices::ShownMessage& FakeServices::LastMessageBox() const {
  static const ShownMessage kNone{};
  if (shown_.empty()) {
    ReportSimFault("a message box was looked for, but none was shown");
    return kNone;
  }
  return shown_.back();
}

int FakeServices::MessageBox(WindowHandle owner, const std::string& text,
                             const std::string& caption, unsigned type) {
  shown_.push_back({owner, text, caption, type});
  if (answers_.empty()) {
    ReportSimFault("a message box that no answer waited for: " + caption + ": " + text);
    return message_box::kIdOk;
  }
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::string FakeServices::MappedProfile::Map(std::string_view file) const {
  return owner_.HostPath(std::string(file)).string();
}

std::string FakeServices::MappedProfile::GetString(std::string_view file, std::string_view section,
                                                   std::string_view key,
                                                   std::string_view defaultValue,
                                                   std::size_t bufferSize) {
  return files_.GetString(Map(file), section, key, defaultValue, bufferSize);
}

ProfileSection FakeServices::MappedProfile::GetSection(std::string_view file,
                                                       std::string_view section,
                                                       std::size_t bufferSize) {
  return files_.GetSection(Map(file), section, bufferSize);
}

std::int32_t FakeServices::MappedProfile::GetInt(std::string_view file, std::string_view section,
                                                 std::string_view key, std::int32_t defaultValue) {
  return files_.GetInt(Map(file), section, key, defaultValue);
}

bool FakeServices::MappedProfile::WriteString(std::string_view file, std::string_view section,
                                              std::string_view key, std::string_view value) {
  return owner_.MayWrite(file) && files_.WriteString(Map(file), section, key, value);
}

bool FakeServices::MappedProfile::DeleteKey(std::string_view file, std::string_view section,
                                            std::string_view key) {
  return owner_.MayWrite(file) && files_.DeleteKey(Map(file), section, key);
}

bool FakeServices::MappedProfile::DeleteSection(std::string_view file, std::string_view section) {
  return owner_.MayWrite(file) && files_.DeleteSection(Map(file), section);
}

std::vector<std::string> FakeServices::MappedProfile::SectionNames(std::string_view file) {
  return files_.SectionNames(Map(file));
}

bool FakeServices::MappedProfile::ReplaceSections(std::string_view file,
                                                  const std::vector<SectionLines>& sections) {
  return owner_.MayWrite(file) && files_.ReplaceSections(Map(file), sections);
}

std::optional<std::string> FakeServices::PathForAnsiCodePage(const std::string& path,
                                                             std::size_t maxBytes) {
  if (SimCodePageHolds(programNames_.CodePage(), path) && path.size() <= maxBytes) return path;
  for (const auto& [folder, shortForm] : shortForms_) {
    if (path != folder && path.rfind(folder + "\\", 0) != 0) continue;
    const std::string shortPath = shortForm + path.substr(folder.size());
    if (SimCodePageHolds(programNames_.CodePage(), shortPath) && shortPath.size() <= maxBytes)
      return shortPath;
  }
  return std::nullopt;
}

std::unique_ptr<Watch> FakeServices::WatchForeground(WindowHandle window, std::uint32_t message) {
  // Ends by clearing what the test reads; it must not outlive the services.
  class FakeWatch final : public Watch {
   public:
    explicit FakeWatch(std::optional<ForegroundWatcher>& slot) : slot_(slot) {}
    ~FakeWatch() override { slot_.reset(); }
    FakeWatch(const FakeWatch&) = delete;
    FakeWatch& operator=(const FakeWatch&) = delete;

   private:
    std::optional<ForegroundWatcher>& slot_;
  };
  if (foregroundWatch_) ReportSimFault("a second foreground watch while one lives");
  foregroundWatch_ = ForegroundWatcher{window, message};
  return std::make_unique<FakeWatch>(foregroundWatch_);
}
