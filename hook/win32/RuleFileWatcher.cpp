#include "hook/win32/RuleFileWatcher.h"

#include <utility>

#include "hook/RuleCache.h"
#include "hook/win32/LibraryThread.h"

namespace {

constexpr DWORD kRoundEveryMs = 1000;
constexpr DWORD kSettleMs = 50;
constexpr DWORD kLongestSettleMs = 500;
// A round on a share that stalls may take longer; StopHook then goes on without it.
constexpr DWORD kLongestStopWaitMs = 2000;

// One round at a time in the process: a thread that is ending may still be in its last round
// when the hooks start again with a new one.
CRITICAL_SECTION& RoundLock() {
  static CRITICAL_SECTION& lock = []() -> CRITICAL_SECTION& {
    static CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    return section;
  }();
  return lock;
}

HANDLE g_roundWake = nullptr;  // under RoundLock

}  // namespace

// Between the caller and the thread; the last of the two to let go frees it.
struct RuleFileWatcher::Shared {
  CRITICAL_SECTION lock;  // guards `file`
  std::string file;
  RuleCache* rules = nullptr;
  HookPlatform* platform = nullptr;
  std::function<void()> endRounds = nullptr;
  HANDLE wake = nullptr;  // auto-reset
  HANDLE stop = nullptr;  // manual-reset
  HANDLE done = nullptr;  // manual-reset: the rounds have ended
  LONG references = 2;
};

void RuleFileWatcher::Release(Shared* shared) {
  if (InterlockedDecrement(&shared->references) != 0) return;
  if (shared->wake != nullptr) CloseHandle(shared->wake);
  if (shared->stop != nullptr) CloseHandle(shared->stop);
  if (shared->done != nullptr) CloseHandle(shared->done);
  DeleteCriticalSection(&shared->lock);
  delete shared;
}

DWORD WINAPI RuleFileWatcher::Rounds(void* parameter) {
  auto* shared = static_cast<Shared*>(parameter);
  const HANDLE handles[2] = {shared->stop, shared->wake};
  for (;;) {
    EnterCriticalSection(&shared->lock);
    const std::string file = shared->file;
    LeaveCriticalSection(&shared->lock);
    EnterCriticalSection(&RoundLock());
    g_roundWake = shared->wake;
    shared->rules->Refresh(*shared->platform, file);
    g_roundWake = nullptr;
    LeaveCriticalSection(&RoundLock());
    DWORD woken = WaitForMultipleObjects(2, handles, FALSE, kRoundEveryMs);
    // A save is often several changes in a row (a profile write, a rename): the round waits
    // until they have settled, for at most kLongestSettleMs, so that its read does not hold the
    // file while the writer still needs it.
    for (DWORD settled = 0; woken == WAIT_OBJECT_0 + 1 && settled < kLongestSettleMs;
         settled += kSettleMs) {
      woken = WaitForMultipleObjects(2, handles, FALSE, kSettleMs);
    }
    if (woken == WAIT_OBJECT_0) break;
  }
  EnterCriticalSection(&RoundLock());
  shared->endRounds();
  LeaveCriticalSection(&RoundLock());
  SetEvent(shared->done);
  Release(shared);
  ReleaseLibraryAndExitThread(0);
}

void RuleFileWatcher::Watch(const char* file, RuleCache& rules, HookPlatform& platform,
                            std::function<void()> endRounds) {
  if (shared_ != nullptr) {
    EnterCriticalSection(&shared_->lock);
    shared_->file = file;
    LeaveCriticalSection(&shared_->lock);
    SetEvent(shared_->wake);
    return;
  }
  auto* shared = new Shared;
  InitializeCriticalSection(&shared->lock);
  shared->file = file;
  shared->rules = &rules;
  shared->platform = &platform;
  shared->endRounds = std::move(endRounds);
  shared->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  shared->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  shared->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (shared->wake == nullptr || shared->stop == nullptr || shared->done == nullptr ||
      !StartLibraryThread(&Rounds, shared)) {
    // No watcher: the rules taken so far stay; the next hand-over tries again.
    shared->references = 1;
    Release(shared);
    return;
  }
  shared_ = shared;
}

// StopHook waits, within a bound, for the rounds to end: a host that stops the hooks and then
// frees the library or ends would otherwise race the thread's own release of the library (under
// Wine the process's end does not wait for its other threads to be gone). Never under the loader
// lock, where the thread could not end.
void RuleFileWatcher::Stop(bool waitForRounds) {
  if (shared_ == nullptr) return;
  SetEvent(shared_->stop);
  if (waitForRounds) WaitForSingleObject(shared_->done, kLongestStopWaitMs);
  Release(shared_);
  shared_ = nullptr;
}

HANDLE RuleFileWatcher::RoundWake() {
  return g_roundWake;
}
