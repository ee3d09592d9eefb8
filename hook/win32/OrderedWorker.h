#pragma once

#include <windows.h>

#include <functional>

// Work that must leave the hook thread but keep its order: each piece runs on a thread of the
// worker's own, one after the other, in the order posted. A hook call may wait a bounded time
// for its piece (or not at all) and never longer, whatever the piece does. The thread starts
// when there is work, keeps the library loaded while it runs, and ends after a few idle seconds.
class OrderedWorker {
 public:
  OrderedWorker();
  OrderedWorker(const OrderedWorker&) = delete;
  OrderedWorker& operator=(const OrderedWorker&) = delete;

  // Queues `work` behind everything posted before and waits at most `waitMs` for it to be done.
  void Run(std::function<void()> work, DWORD waitMs);

 private:
  struct Job;

  static void Release(Job* job);
  static DWORD WINAPI ThreadMain(void* self);
  void Work();

  CRITICAL_SECTION lock_;
  HANDLE wake_ = nullptr;  // set when work is queued
  Job* first_ = nullptr;
  Job* last_ = nullptr;
  bool threadRunning_ = false;
};
