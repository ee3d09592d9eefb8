#include "hook/win32/ProcessIdentities.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <vector>

namespace {

std::uint32_t Stamp(LONGLONG createdAt) {
  const auto ticks = static_cast<std::uint64_t>(createdAt);
  return static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

using QuerySystemInformation = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);

QuerySystemInformation ProcessListQuery() {
  static const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  return query;
}

constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

// The system's list of processes, or an empty buffer when it cannot be read. The list grows
// between two calls, so a buffer found too small is enlarged a few times.
std::vector<unsigned char> ProcessList() {
  const QuerySystemInformation query = ProcessListQuery();
  std::vector<unsigned char> list;
  if (query == nullptr) return list;
  ULONG size = 256 * 1024;
  for (int attempt = 0; attempt < 4; ++attempt) {
    list.resize(size);
    ULONG needed = 0;
    const NTSTATUS status = query(SystemProcessInformation, list.data(), size, &needed);
    if (status >= 0) return list;
    if (status != kInfoLengthMismatch) break;
    size = needed > size ? needed + 64 * 1024 : size * 2;
  }
  list.clear();
  return list;
}

}  // namespace

ProcessIdentity IdentityOfThisProcess() {
  FILETIME created{}, ended{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto ticks = static_cast<LONGLONG>(
      (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime);
  return {GetCurrentProcessId(), Stamp(ticks)};
}

bool IsStillRunning(const ProcessIdentity& process) {
  const std::vector<unsigned char> list = ProcessList();
  if (list.empty()) return true;
  for (std::size_t offset = 0;;) {
    const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + offset);
    if (static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(entry->UniqueProcessId)) ==
        process.id) {
      return Stamp(entry->CreateTime.QuadPart) == process.started;
    }
    if (entry->NextEntryOffset == 0) return false;
    offset += entry->NextEntryOffset;
    if (offset + sizeof(SYSTEM_PROCESS_INFORMATION) > list.size()) return true;
  }
}
