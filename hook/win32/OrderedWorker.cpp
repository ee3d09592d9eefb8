#include "hook/win32/OrderedWorker.h"

#include <objbase.h>

#include "hook/win32/LibraryThread.h"

#include <utility>

namespace {

// How long the thread waits for more work before it ends. Programs started through the shell
// may finish their start asynchronously on the starting thread; it must not end at once.
constexpr DWORD kIdleMs = 5000;

}  // namespace

// A queued piece of work, shared by the caller and the thread; the last of the two to let go
// frees it.
struct OrderedWorker::Job {
  std::function<void()> work;
  HANDLE done = nullptr;
  LONG references = 2;
  Job* next = nullptr;
};

OrderedWorker::OrderedWorker() {
  InitializeCriticalSection(&lock_);
  wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

void OrderedWorker::Release(Job* job) {
  if (InterlockedDecrement(&job->references) == 0) {
    if (job->done != nullptr) CloseHandle(job->done);
    delete job;
  }
}

void OrderedWorker::Run(std::function<void()> work, DWORD waitMs) {
  Job* job = new Job{std::move(work), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  EnterCriticalSection(&lock_);
  if (!threadRunning_) {
    threadRunning_ = StartLibraryThread(&OrderedWorker::ThreadMain, this);
  }
  if (!threadRunning_) {
    // No thread to do it: doing the work here, late, beats never doing it.
    LeaveCriticalSection(&lock_);
    job->work();
    Release(job);
    Release(job);
    return;
  }
  (last_ != nullptr ? last_->next : first_) = job;
  last_ = job;
  LeaveCriticalSection(&lock_);
  SetEvent(wake_);
  if (waitMs > 0 && job->done != nullptr) WaitForSingleObject(job->done, waitMs);
  Release(job);
}

DWORD WINAPI OrderedWorker::ThreadMain(void* self) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  static_cast<OrderedWorker*>(self)->Work();
  if (SUCCEEDED(com)) CoUninitialize();
  ReleaseLibraryAndExitThread(0);
}

void OrderedWorker::Work() {
  for (;;) {
    EnterCriticalSection(&lock_);
    Job* job = first_;
    if (job == nullptr) {
      LeaveCriticalSection(&lock_);
      if (WaitForSingleObject(wake_, kIdleMs) != WAIT_TIMEOUT) continue;
      EnterCriticalSection(&lock_);
      if (first_ == nullptr) {
        threadRunning_ = false;
        LeaveCriticalSection(&lock_);
        return;
      }
      LeaveCriticalSection(&lock_);
      continue;
    }
    first_ = job->next;
    if (first_ == nullptr) last_ = nullptr;
    LeaveCriticalSection(&lock_);

    job->work();
    if (job->done != nullptr) SetEvent(job->done);
    Release(job);
  }
}
