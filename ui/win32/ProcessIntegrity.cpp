#include "ui/win32/ProcessIntegrity.h"

#include <vector>

namespace process_integrity {

std::optional<std::uint32_t> OfProcess(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
  DWORD size = 0;
  GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  std::optional<std::uint32_t> level;
  if (size >= sizeof(TOKEN_MANDATORY_LABEL) &&
      GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
    const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    const UCHAR count = IsValidSid(sid) ? *GetSidSubAuthorityCount(sid) : 0;
    if (count > 0) level = *GetSidSubAuthority(sid, count - 1U);
  }
  CloseHandle(token);
  return level;
}

std::optional<std::uint32_t> OfWindowProcess(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == 0) return std::nullopt;
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return std::nullopt;
  const std::optional<std::uint32_t> level = OfProcess(process);
  CloseHandle(process);
  return level;
}

}  // namespace process_integrity
