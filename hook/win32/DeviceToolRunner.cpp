#include "hook/win32/DeviceToolRunner.h"

#include <objbase.h>
#include <shellapi.h>

namespace {

// The longest a run may take before the next queued run starts anyway.
constexpr DWORD kLongestRunMs = 60000;

}  // namespace

// Shared by the caller and the worker; the last of the two to let go frees it.
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

void DeviceToolRunner::Release(Job* job) {
  if (InterlockedDecrement(&job->references) == 0) {
    CloseHandle(job->done);
    delete job;
  }
}

void DeviceToolRunner::Run(const std::string& path, const std::string& parameters,
                           std::chrono::milliseconds wait) {
  Job* job = new Job{path, parameters, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  EnterCriticalSection(&lock_);
  (last_ != nullptr ? last_->next : first_) = job;
  last_ = job;
  bool started = true;
  if (!threadRunning_) {
    // The thread holds a reference to the library so that it cannot be unloaded under it.
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCSTR>(&DeviceToolRunner::ThreadMain), &self);
    HANDLE thread = CreateThread(nullptr, 0, &DeviceToolRunner::ThreadMain, this, 0, nullptr);
    if (thread != nullptr) {
      CloseHandle(thread);
      threadRunning_ = true;
    } else {
      if (self != nullptr) FreeLibrary(self);
      started = false;
    }
  }
  if (!started) {
    // No thread to wait on it: start the tool and let it run on its own.
    first_ = last_ = nullptr;
    LeaveCriticalSection(&lock_);
    const HANDLE process = Start(*job);
    if (process != nullptr) CloseHandle(process);
    Release(job);
    Release(job);
    return;
  }
  LeaveCriticalSection(&lock_);
  WaitForSingleObject(job->done, static_cast<DWORD>(wait.count()));
  Release(job);
}

HANDLE DeviceToolRunner::Start(const Job& job) {
  SHELLEXECUTEINFOA run{};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  run.lpVerb = "open";
  run.lpFile = job.path.c_str();
  run.lpParameters = job.parameters.c_str();
  run.nShow = SW_HIDE;
  return ShellExecuteExA(&run) ? run.hProcess : nullptr;
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
    LeaveCriticalSection(&lock_);

    if (const HANDLE process = Start(*job)) {
      WaitForSingleObject(process, kLongestRunMs);
      CloseHandle(process);
    }
    SetEvent(job->done);
    Release(job);
  }
}
