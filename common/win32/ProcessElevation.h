#pragma once

#include <windows.h>

#include <optional>

// Whether the process's token is elevated (TokenElevation); nullopt where that cannot be asked:
// no access to the process, or Windows before Vista, where a program has what its user has.
inline std::optional<bool> TokenIsElevated(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const bool asked =
      GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != FALSE;
  CloseHandle(token);
  if (!asked) return std::nullopt;
  return elevation.TokenIsElevated != 0;
}
