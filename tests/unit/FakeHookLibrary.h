#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/HookExports.h"

// A stand-in trellin_192.dll for the host's tests: every call is logged with its argument,
// every pushed block kept, and StartHook and StopHook answer as the test says.
struct FakeHookLibrary {
  inline static std::vector<std::string> calls;
  inline static std::vector<HookSettings> pushed;
  inline static std::int32_t startAnswer = 1;
  inline static std::int32_t stopAnswer = 1;

  static void Reset() {
    calls.clear();
    pushed.clear();
    startAnswer = 1;
    stopAnswer = 1;
  }

  static std::int32_t TRELLIN_API StartHook(std::int32_t window) {
    calls.push_back("StartHook " + std::to_string(window));
    return startAnswer;
  }
  static std::int32_t TRELLIN_API StopHook() {
    calls.push_back("StopHook");
    return stopAnswer;
  }
  static void TRELLIN_API SetConfigINI(const char* path) {
    calls.push_back(std::string("SetConfigINI ") + path);
  }
  static void TRELLIN_API SetDevconPath(const char* path) {
    calls.push_back(std::string("SetDevconPath ") + path);
  }
  static void TRELLIN_API EnableHookStatue(std::int32_t enabled) {
    calls.push_back("EnableHookStatue " + std::to_string(enabled));
  }
  static void TRELLIN_API UpdateValue(const HookSettings* settings) {
    pushed.push_back(*settings);
    calls.push_back("UpdateValue " + std::to_string(settings->CtrlWheelUnit));
  }

  // The exports by name, as the module would give them.
  static std::map<std::string, void*> Exports() {
    return {{"StartHook", reinterpret_cast<void*>(&StartHook)},
            {"StopHook", reinterpret_cast<void*>(&StopHook)},
            {"SetConfigINI", reinterpret_cast<void*>(&SetConfigINI)},
            {"SetDevconPath", reinterpret_cast<void*>(&SetDevconPath)},
            {"EnableHookStatue", reinterpret_cast<void*>(&EnableHookStatue)},
            {"UpdateValue", reinterpret_cast<void*>(&UpdateValue)}};
  }
};
