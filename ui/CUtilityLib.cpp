#include "ui/CUtilityLib.h"

#include <cstdlib>
#include <stdexcept>

#include "common/RuleRecord.h"
#include "common/TextCase.h"

namespace {

Services* g_services = nullptr;
std::string g_appDataSubPath;

constexpr std::size_t kSectionBuffer = 4096;

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

}  // namespace

InstalledServices::InstalledServices(Services& services) : previous_(g_services) {
  g_services = &services;
}

InstalledServices::~InstalledServices() {
  g_services = previous_;
}

Services& CUtilityLib::Get() {
  if (g_services == nullptr) throw std::logic_error("CUtilityLib used before its services");
  return *g_services;
}

int CUtilityLib::ReadRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                              int defaultValue) {
  const auto value = Get().ReadRegistry(root, key, name);
  if (!value) return defaultValue;
  if (const auto* number = std::get_if<std::uint32_t>(&*value)) {
    return static_cast<int>(*number);
  }
  return ReadDecimalField(std::get<std::string>(*value));
}

std::string CUtilityLib::ReadRegistryText(RegistryRoot root, const std::string& key,
                                          const std::string& name, std::size_t size) {
  const auto value = Get().ReadRegistry(root, key, name);
  if (!value || size == 0) return {};
  std::string text = std::holds_alternative<std::uint32_t>(*value)
                         ? std::to_string(std::get<std::uint32_t>(*value))
                         : std::get<std::string>(*value);
  if (text.size() > size - 1) text.resize(size - 1);
  return text;
}

bool CUtilityLib::WriteRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                                const std::string& text) {
  return Get().WriteRegistry(root, key, name, text);
}

bool CUtilityLib::WriteRegistry(RegistryRoot root, const std::string& key, const std::string& name,
                                std::uint32_t number) {
  return Get().WriteRegistry(root, key, name, number);
}

bool CUtilityLib::DeleteRegistryValue(RegistryRoot root, const std::string& key,
                                      const std::string& name) {
  return Get().DeleteRegistryValue(root, key, name);
}

std::string CUtilityLib::GetString(long value) {
  return std::to_string(value);
}

void CUtilityLib::SetAppDataSubPath(const std::string& name) {
  g_appDataSubPath = name;
}

std::string CUtilityLib::GetAppDataPath(bool create) {
  std::string path = WithoutTrailingBackslash(Get().UserAppDataFolder());
  if (!g_appDataSubPath.empty()) path += "\\" + g_appDataSubPath;
  if (create) CreateMultiFolder(path, 1);
  return path;
}

bool CUtilityLib::CreateMultiFolder(const std::string& path, int allLevels) {
  const std::string target = WithoutTrailingBackslash(path);
  if (target.empty()) return false;
  if (Get().FolderExists(target)) return true;
  if (allLevels) {
    const std::size_t slash = target.find_last_of("\\/");
    // Stop at the drive ("C:") or the root.
    if (slash != std::string::npos && slash > 0 && target[slash - 1] != ':') {
      CreateMultiFolder(target.substr(0, slash), allLevels);
    }
  }
  Get().CreateFolder(target);
  return Get().FolderExists(target);
}

std::string CUtilityLib::GetAppPath() {
  const std::string executable = Get().ExecutablePath();
  const std::size_t slash = executable.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : executable.substr(0, slash);
}

std::string CUtilityLib::GetWindowsDirectoryA() {
  return WithoutTrailingBackslash(Get().WindowsFolder());
}

bool CUtilityLib::IsWin64() {
  return Get().IsWin64();
}

bool CUtilityLib::IsFile(const std::string& path) {
  return Get().FileExists(path);
}

std::string CUtilityLib::GetFileExt(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}

int CUtilityLib::GetPrivateProfileIntA(const std::string& section, const std::string& key,
                                       int defaultValue, const std::string& file) {
  return Get().Profiles().GetInt(file, section, key, defaultValue);
}

bool CUtilityLib::WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                             const std::string& value, const std::string& file) {
  return Get().Profiles().WriteString(file, section, key, value);
}

bool CUtilityLib::WritePrivateProfileInt(const std::string& section, const std::string& key,
                                         int value, const std::string& file) {
  return WritePrivateProfileStringA(section, key, std::to_string(value), file);
}

void CUtilityLib::GetPrivateProfileSectionA(const std::string& section,
                                            std::vector<std::string>& keys,
                                            std::vector<std::string>& values,
                                            const std::string& file) {
  keys.clear();
  values.clear();
  for (const std::string& line : Get().Profiles().GetSection(file, section, kSectionBuffer).lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    keys.push_back(line.substr(0, equals));
    values.push_back(line.substr(equals + 1));
  }
}

namespace {

// The buffer grows until the section fits. Beyond 64 MB a rule file is no rule file; the bound
// keeps a broken file from eating memory, and `complete` says whether the section fitted.
std::vector<std::string> ReadGrowingSection(Profile& profiles, const std::string& section,
                                            const std::string& file, std::size_t largest,
                                            bool& complete) {
  for (std::size_t size = kSectionBuffer;; size *= 2) {
    ProfileSection read = profiles.GetSection(file, section, size);
    // A section that did not fit comes back as size - 2 characters.
    complete = read.count + 2 < size;
    if (complete || size >= largest) return std::move(read.lines);
  }
}

}  // namespace

std::vector<std::string> CUtilityLib::GetWholeProfileSection(const std::string& section,
                                                             const std::string& file) {
  bool complete = false;
  return ReadGrowingSection(Get().Profiles(), section, file, kLargestSection, complete);
}

std::optional<std::vector<std::string>> CUtilityLib::GetCompleteProfileSection(
    const std::string& section, const std::string& file, std::size_t largest) {
  bool complete = false;
  std::vector<std::string> lines =
      ReadGrowingSection(Get().Profiles(), section, file, largest, complete);
  if (!complete) return std::nullopt;
  return lines;
}

void CUtilityLib::SplitStringByToken(const std::string& text, char separator,
                                     std::vector<std::string>& fields, bool keepEmpty, bool trim) {
  fields.clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t stop = text.find(separator, start);
    std::string field =
        text.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
    if (trim) field = std::string(TrimBlanks(field));
    if (keepEmpty || !field.empty()) fields.push_back(field);
    if (stop == std::string::npos) break;
    start = stop + 1;
  }
}

namespace {

bool Chosen(std::optional<std::string> choice, std::string& path) {
  if (!choice) return false;
  path = *choice;
  return true;
}

}  // namespace

bool CUtilityLib::SelectFile(std::string& path, const std::string& title, const std::string& filter,
                             WindowHandle owner) {
  return Chosen(Get().ChooseFile(owner, false, title, filter), path);
}

bool CUtilityLib::SelectSaveFile(std::string& path, const std::string& title,
                                 const std::string& filter, WindowHandle owner) {
  return Chosen(Get().ChooseFile(owner, true, title, filter), path);
}

bool CUtilityLib::SelectFolder(std::string& path, const std::string& title, WindowHandle owner) {
  return Chosen(Get().ChooseFolder(owner, title), path);
}

WindowHandle CUtilityLib::GetTopWindow(WindowHandle window) {
  return Get().TopLevelWindow(window);
}

void CUtilityLib::MSGSetForegroundWindow(WindowHandle window) {
  Get().ForceForeground(window);
}

void CUtilityLib::AniMinimizeToTray(WindowHandle window) {
  Get().AnimateTray(window, true);
}

void CUtilityLib::AniMaximiseFromTray(WindowHandle window) {
  Get().AnimateTray(window, false);
}
