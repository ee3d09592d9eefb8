#pragma once

#include <cstddef>
#include <cstdint>

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
