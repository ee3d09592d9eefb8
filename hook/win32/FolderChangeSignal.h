#pragma once

#include <windows.h>

#include <string>

// Tells whether anything changed in a file's folder since the last question: a change
// notification on the folder (a file written, resized, created, deleted or renamed), asked
// without waiting. The notification is armed again before the answer, so a change made while
// the caller reads the file is signalled next time. Where no notification can be had (a folder
// that does not exist yet, a share that does not support them), every answer is "changed", and
// a new notification is tried once a second.
class FolderChangeSignal {
 public:
  FolderChangeSignal() = default;
  FolderChangeSignal(const FolderChangeSignal&) = delete;
  FolderChangeSignal& operator=(const FolderChangeSignal&) = delete;
  ~FolderChangeSignal();

  bool ChangeSignalled(const char* file);

 private:
  void Watch(const std::string& folder);
  void Close();

  std::string folder_;
  HANDLE notification_ = INVALID_HANDLE_VALUE;
  DWORD lastAttempt_ = 0;
};
