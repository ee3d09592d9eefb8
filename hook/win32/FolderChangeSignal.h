#pragma once

#include <windows.h>

#include <string>

// Tells whether anything changed in a file's folder since the last question: a change
// notification on the folder (a file written, resized, created, deleted or renamed), waited for
// by a thread of its own, so that asking costs the hook no call into the system. A change the
// thread has not yet counted is caught by the file's size and time stamp, which the caller
// checks as well. Each change counted also sets the caller's event. Where no notification can be
// had (a folder that does not exist yet, a share that does not support them), nothing is signalled
// (reading the file at every event would cost every event a whole read), and a new notification is
// tried once a second.
class FolderChangeSignal {
 public:
  FolderChangeSignal() = default;
  FolderChangeSignal(const FolderChangeSignal&) = delete;
  FolderChangeSignal& operator=(const FolderChangeSignal&) = delete;
  ~FolderChangeSignal() { Stop(); }

  // `wake` is set at each change counted (a copy of it is kept while the folder is watched);
  // another one than before starts the watching again.
  bool ChangeSignalled(const char* file, HANDLE wake);
  // Ends the watching thread (it lets go of the library once it has ended).
  void Stop();

 private:
  struct Watch;

  void Start(const std::string& folder, HANDLE wake);
  static void Release(Watch* watch);
  static DWORD WINAPI WatchMain(void* watch);

  std::string folder_;
  Watch* watch_ = nullptr;
  HANDLE wakeGiven_ = nullptr;
  LONG seen_ = 0;
  DWORD lastAttempt_ = 0;
};
