// The rule file as the watcher sees it (its final path, size and time stamp, its text) and the
// library's own writes to it.
#include "hook/win32/Win32HookPlatform.h"

#include <string>

#include "hook/win32/ProfileText.h"

namespace {

// Within this of the clock (in 100 ns ticks), a second write could carry the same time stamp
// as the first: FAT's resolution is 2 s, NTFS's the system tick.
constexpr std::uint64_t kRecentWriteTicks = 2 * 10'000'000;

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
