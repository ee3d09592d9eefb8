#pragma once

#include <windows.h>

#include <chrono>
#include <string>

// Runs the device tool so that a slow tool never holds a hook call for long, and so that runs
// never overlap (an "enable" must not overtake a "disable" that is still switching devices).
// Normally the tool starts at once on the calling thread, which then waits for it only as long
// as it asks. When an earlier run is still going, the new run is queued to a thread of its own
// that starts it once the earlier one has ended; that thread keeps the library loaded while it
// has work and ends when the queue is empty.
class DeviceToolRunner {
 public:
  static DeviceToolRunner& Instance();

  // Starts the run (or queues it behind a run still going); returns when it has ended or when
  // `wait` has passed.
  void Run(const std::string& path, const std::string& parameters, std::chrono::milliseconds wait);

 private:
  struct Job;

  DeviceToolRunner();
  static HANDLE Start(const std::string& path, const std::string& parameters);
  static void Release(Job* job);
  static DWORD WINAPI ThreadMain(void* self);
  bool Busy();
  void Work();

  CRITICAL_SECTION lock_;
  HANDLE lastRun_ = nullptr;  // the process of the latest run, which may still be going
  Job* first_ = nullptr;      // runs waiting for an earlier one to end
  Job* last_ = nullptr;
  bool threadRunning_ = false;
};
