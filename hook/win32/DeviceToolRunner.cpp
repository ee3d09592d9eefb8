#include "hook/win32/DeviceToolRunner.h"

#include <objbase.h>
#include <shellapi.h>

namespace {

// How long a run may go on before a queued run starts anyway.
constexpr DWORD kLongestRunMs = 60000;

}  // namespace

// A queued run, shared by the caller and the thread; the last of the two to let go frees it.
struct DeviceToolRunner::Job {
  std::string path;
  std::string parameters;
  HANDLE done = nullptr;
  LONG references = 2;
  Job* next = nullptr;
};

DeviceToolRunner& DeviceToolRunner::Instance() {
  static DeviceToolRunner runner;
  return runner;
}

DeviceToolRunner::DeviceToolRunner() {
  InitializeCriticalSection(&lock_);
}

HANDLE DeviceToolRunner::Start(const std::string& path, const std::string& parameters) {
  SHELLEXECUTEINFOA run{};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  run.lpVerb = "open";
  run.lpFile = path.c_str();
  run.lpParameters = parameters.c_str();
  run.nShow = SW_HIDE;
  return ShellExecuteExA(&run) ? run.hProcess : nullptr;
}

void DeviceToolRunner::Release(Job* job) {
  if (InterlockedDecrement(&job->references) == 0) {
    CloseHandle(job->done);
    delete job;
  }
}

// Called with the lock held.
bool DeviceToolRunner::Busy() {
  return threadRunning_ ||
         (lastRun_ != nullptr && WaitForSingleObject(lastRun_, 0) == WAIT_TIMEOUT);
}

void DeviceToolRunner::Run(const std::string& path, const std::string& parameters,
                           std::chrono::milliseconds wait) {
  const DWORD waitMs = static_cast<DWORD>(wait.count());
  EnterCriticalSection(&lock_);
  if (!Busy()) {
    if (lastRun_ != nullptr) CloseHandle(lastRun_);
    lastRun_ = Start(path, parameters);
    const HANDLE process = lastRun_;
    LeaveCriticalSection(&lock_);
    // Only a later call on this same thread may close the handle, so it stays valid here.
    if (process != nullptr) WaitForSingleObject(process, waitMs);
    return;
  }

  Job* job = new Job{path, parameters, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  (last_ != nullptr ? last_->next : first_) = job;
  last_ = job;
  if (!threadRunning_) {
    // The thread holds a reference to the library so that it cannot be unloaded under it.
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCSTR>(&DeviceToolRunner::ThreadMain), &self);
    const HANDLE thread = CreateThread(nullptr, 0, &DeviceToolRunner::ThreadMain, this, 0, nullptr);
    if (thread != nullptr) {
      CloseHandle(thread);
      threadRunning_ = true;
    } else if (self != nullptr) {
      FreeLibrary(self);
    }
  }
  if (!threadRunning_) {
    // No thread to wait for the earlier run: start this one now rather than never.
    first_ = last_ = nullptr;
    if (lastRun_ != nullptr) CloseHandle(lastRun_);
    lastRun_ = Start(path, parameters);
    LeaveCriticalSection(&lock_);
    Release(job);
    Release(job);
    return;
  }
  LeaveCriticalSection(&lock_);
  WaitForSingleObject(job->done, waitMs);
  Release(job);
}

DWORD WINAPI DeviceToolRunner::ThreadMain(void* self) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  static_cast<DeviceToolRunner*>(self)->Work();
  if (SUCCEEDED(com)) CoUninitialize();
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&DeviceToolRunner::ThreadMain), &module);
  FreeLibraryAndExitThread(module, 0);
}

void DeviceToolRunner::Work() {
  for (;;) {
    EnterCriticalSection(&lock_);
    Job* job = first_;
    if (job == nullptr) {
      threadRunning_ = false;
      LeaveCriticalSection(&lock_);
      return;
    }
    first_ = job->next;
    if (first_ == nullptr) last_ = nullptr;
    // While this thread runs, nothing else closes lastRun_.
    const HANDLE earlier = lastRun_;
    LeaveCriticalSection(&lock_);

    if (earlier != nullptr) WaitForSingleObject(earlier, kLongestRunMs);
    const HANDLE process = Start(job->path, job->parameters);
    EnterCriticalSection(&lock_);
    if (lastRun_ != nullptr) CloseHandle(lastRun_);
    lastRun_ = process;
    LeaveCriticalSection(&lock_);
    if (process != nullptr) WaitForSingleObject(process, kLongestRunMs);
    SetEvent(job->done);
    Release(job);
  }
}
