#include "hook/win32/FolderChangeSignal.h"

#include "hook/win32/LibraryThread.h"

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

// Shared by the hook thread and the watching thread; the last of the two to let go frees it.
struct FolderChangeSignal::Watch {
  HANDLE notification = INVALID_HANDLE_VALUE;
  HANDLE stop = nullptr;
  HANDLE wake = nullptr;      // the thread's own copy of the caller's event
  volatile LONG changes = 0;  // counted by the watching thread
  volatile LONG broken = 0;   // the notification failed; the thread has ended
  LONG references = 2;
};

void FolderChangeSignal::Release(Watch* watch) {
  if (InterlockedDecrement(&watch->references) != 0) return;
  if (watch->notification != INVALID_HANDLE_VALUE) FindCloseChangeNotification(watch->notification);
  if (watch->stop != nullptr) CloseHandle(watch->stop);
  if (watch->wake != nullptr) CloseHandle(watch->wake);
  delete watch;
}

DWORD WINAPI FolderChangeSignal::WatchMain(void* parameter) {
  auto* watch = static_cast<Watch*>(parameter);
  const HANDLE handles[2] = {watch->notification, watch->stop};
  for (;;) {
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) break;
    InterlockedIncrement(&watch->changes);
    if (watch->wake != nullptr) SetEvent(watch->wake);
    // A change made before this re-arming is kept and signals again at once.
    if (!FindNextChangeNotification(watch->notification)) {
      InterlockedExchange(&watch->broken, 1);
      break;
    }
  }
  Release(watch);
  ReleaseLibraryAndExitThread(0);
}

void FolderChangeSignal::Stop() {
  folder_.clear();
  if (watch_ == nullptr) return;
  SetEvent(watch_->stop);
  Release(watch_);
  watch_ = nullptr;
}

void FolderChangeSignal::Start(const std::string& folder, HANDLE wake) {
  Stop();
  folder_ = folder;
  wakeGiven_ = wake;
  lastAttempt_ = GetTickCount();
  const HANDLE notification = FindFirstChangeNotificationA(folder.c_str(), FALSE, kChanges);
  if (notification == INVALID_HANDLE_VALUE) return;
  auto* watch = new Watch{notification, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  if (wake != nullptr) {
    DuplicateHandle(GetCurrentProcess(), wake, GetCurrentProcess(), &watch->wake, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  }
  if (watch->stop == nullptr || !StartLibraryThread(&WatchMain, watch)) {
    watch->references = 1;
    Release(watch);
    return;
  }
  watch_ = watch;
  seen_ = 0;
}

bool FolderChangeSignal::ChangeSignalled(const char* file, HANDLE wake) {
  const std::string folder = FolderOf(file);
  if (folder != folder_ || wake != wakeGiven_) {
    // A new folder: whatever was read before belongs to another file. Another event: its
    // waiter may have missed changes.
    Start(folder, wake);
    return true;
  }
  if (watch_ != nullptr && watch_->broken) {
    // What happened around the failure may not have been counted.
    Start(folder, wake);
    return true;
  }
  if (watch_ == nullptr) {
    // Nothing can be signalled here: the caller's size and time stamp tell the changes. A new
    // notification is tried now and then; once there is one, a change may have been missed.
    if (GetTickCount() - lastAttempt_ < kRetryMs) return false;
    Start(folder, wake);
    return watch_ != nullptr;
  }
  const LONG changes = watch_->changes;
  if (changes == seen_) return false;
  seen_ = changes;
  return true;
}
