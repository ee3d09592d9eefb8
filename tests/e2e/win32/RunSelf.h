#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The check programs play their other processes themselves: runs the program `self` again with
// these arguments; its exit code, or -1 when it could not start or outlasted 30 s.
inline int RunSelf(const char* self, const std::string& arguments) {
  const std::string command = std::string("\"") + self + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  DWORD exitCode = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &exitCode);
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return static_cast<int>(exitCode);
}
