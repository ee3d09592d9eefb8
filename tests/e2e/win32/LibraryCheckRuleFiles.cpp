// Rule files written with the bytes and time stamps the checks need.
#include "tests/e2e/win32/LibraryCheckRuleFiles.h"

#include <fstream>

void WriteFileBytes(const std::string& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

FILETIME AnHourAgo(int extraSeconds) {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER value{{now.dwLowDateTime, now.dwHighDateTime}};
  value.QuadPart -= (3600ull + static_cast<unsigned>(extraSeconds)) * 10'000'000;
  return {value.LowPart, value.HighPart};
}

void SetWriteTime(const std::string& file, const FILETIME& stamp) {
  const HANDLE handle = CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  SetFileTime(handle, nullptr, nullptr, &stamp);
  CloseHandle(handle);
}

std::string RuleFolder() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string path =
      std::string(folder) + "tastron-check-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

std::string RemapA(const char* target) {
  return std::string("[KeyChange]\r\n41/1e=") + target + "\r\n";
}
