#pragma once

#include <windows.h>

#include <chrono>
#include <string>

// Runs the device tool one run after another on a thread of its own, so that a slow tool never
// holds a hook call: the caller waits for its run at most as long as it asks. Runs never
// overlap, so an "enable" queued behind a still running "disable" comes after it. The thread
// keeps the library loaded while it has work and ends when the queue is empty.
class DeviceToolRunner {
 public:
  static DeviceToolRunner& Instance();

  // Queues the run; returns when it has ended or `wait` has passed.
  void Run(const std::string& path, const std::string& parameters, std::chrono::milliseconds wait);

 private:
  struct Job;

  DeviceToolRunner();
  static DWORD WINAPI ThreadMain(void* self);
  void Work();
  static void Release(Job* job);
  static HANDLE Start(const Job& job);

  CRITICAL_SECTION lock_;
  Job* first_ = nullptr;
  Job* last_ = nullptr;
  bool threadRunning_ = false;
};
