#include "hook/win32/FolderChangeSignal.h"

namespace {

constexpr DWORD kRetryMs = 1000;
constexpr DWORD kChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

std::string FolderOf(const char* file) {
  const std::string path(file);
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace

FolderChangeSignal::~FolderChangeSignal() {
  Close();
}

void FolderChangeSignal::Close() {
  if (notification_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(notification_);
  notification_ = INVALID_HANDLE_VALUE;
}

void FolderChangeSignal::Watch(const std::string& folder) {
  Close();
  folder_ = folder;
  lastAttempt_ = GetTickCount();
  notification_ = FindFirstChangeNotificationA(folder.c_str(), FALSE, kChanges);
}

bool FolderChangeSignal::ChangeSignalled(const char* file) {
  const std::string folder = FolderOf(file);
  if (folder != folder_) {
    // A new folder: whatever was read before belongs to another file.
    Watch(folder);
    return true;
  }
  if (notification_ == INVALID_HANDLE_VALUE) {
    if (GetTickCount() - lastAttempt_ >= kRetryMs) Watch(folder);
    return true;
  }
  if (WaitForSingleObject(notification_, 0) != WAIT_OBJECT_0) return false;
  if (!FindNextChangeNotification(notification_)) Close();
  return true;
}
