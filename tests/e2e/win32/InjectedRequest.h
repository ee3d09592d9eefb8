#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// What ui-probe hands a library it loads into another process (layout-inspector.dll,
// hook-remover.dll), through a named file mapping: the window to look at, and the library's
// answer as UTF-8 lines.
inline constexpr const wchar_t* kInjectedRequestName = L"Local\\TastronProbeInjectedRequest";
inline constexpr std::size_t kInjectedAnswerBytes = 32768;

struct InjectedRequest {
  std::uint64_t window;
  std::uint32_t answered;  // 1 once the library has written its answer
  std::uint32_t failures;  // what the answer counts as failed
  char answer[kInjectedAnswerBytes];
};

// The loaded library's side: `look(window, failures)` does the work and returns the answer's
// text, which goes into the request with the count of failures.
template <typename Look>
void AnswerInjectedRequest(Look look) {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kInjectedRequestName);
  if (mapping == nullptr) return;
  auto* request = static_cast<InjectedRequest*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(InjectedRequest)));
  if (request != nullptr) {
    unsigned failures = 0;
    const std::string answer =
        look(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request->window)), failures);
    std::strncpy(request->answer, answer.c_str(), kInjectedAnswerBytes - 1);
    request->failures = failures;
    request->answered = 1;
    UnmapViewOfFile(request);
  }
  CloseHandle(mapping);
}

// What each such library does while it loads (InjectedLibraryMain.cpp calls it, then refuses to
// stay loaded, so that each request loads the library anew).
void AnswerInjectedRequest();
