#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

// Integrity levels of processes: the last RID of the token's mandatory label (TokenIntegrityLevel).
namespace process_integrity {

// nullopt where the token cannot be opened or read (another user's or an elevated process's,
// or Windows before Vista, which has no labels).
std::optional<std::uint32_t> OfProcess(HANDLE process);
// The process that owns the window, opened for limited queries only.
std::optional<std::uint32_t> OfWindowProcess(HWND window);

}  // namespace process_integrity
