#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "hook/HookPlatform.h"

// The thread that checks and reads the rule file for the hook thread (RuleCache::Refresh), so
// that no hook call waits for a file system. A round runs at once when another file is handed
// over or the file's folder signals a change (once the changes have settled for 50 ms), and once
// a second besides: a signal that
// was lost, a folder that cannot be watched, a read to try again, a file written so recently
// that a second write could keep its time stamp.
class RuleFileWatcher {
 public:
  RuleFileWatcher() = default;
  RuleFileWatcher(const RuleFileWatcher&) = delete;
  RuleFileWatcher& operator=(const RuleFileWatcher&) = delete;
  ~RuleFileWatcher() { Stop(false); }

  // From the hook thread or an export. `endRounds` runs on the thread as it ends, under the
  // same lock as the rounds (what the rounds set up in the platform goes with it).
  void Watch(const char* file, RuleCache& rules, HookPlatform& platform,
             std::function<void()> endRounds);
  // Asks the thread to end; it lets go of the library once it has. `waitForRounds`: returns
  // once its last round has ended (within a bound).
  void Stop(bool waitForRounds);
  // Inside a round: the event that starts the next round at once (for the folder's change
  // signal to set). The rounds' own thread alone asks.
  static HANDLE RoundWake();

 private:
  struct Shared;

  static DWORD WINAPI Rounds(void* shared);
  static void Release(Shared* shared);

  Shared* shared_ = nullptr;
};
