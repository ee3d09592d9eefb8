#pragma once

#include <cstddef>
#include <cstdint>

// What ui-probe hands drop-injector.dll in another process: the button to drop onto and the
// files, through a named file mapping; the injector notes whether it posted the drop.
inline constexpr const wchar_t* kDropRequestName = L"Local\\TastronProbeDropRequest";
inline constexpr std::size_t kDropRequestCharacters = 4096;

struct DropRequest {
  std::uint64_t button;
  std::uint32_t posted;
  wchar_t files[kDropRequestCharacters];  // NUL after each, a second NUL at the end
};
