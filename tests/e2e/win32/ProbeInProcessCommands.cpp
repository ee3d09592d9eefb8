// ui-probe's commands that load a library of theirs into another program's process to work
// there: a drop of files, the texts' fit, the hook library's hooks removed behind its back.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DropRequest.h"
#include "InjectedRequest.h"
#include "tests/e2e/win32/ProbeCommands.h"
#include "tests/e2e/win32/ProbeText.h"
#include "tests/e2e/win32/ProbeWindows.h"

namespace {

// Loads a library that lies beside the probe into the process of `window`; it does its work
// while it loads. Whether the loading thread ran to its end.
bool LoadIntoProcessOf(HWND window, const wchar_t* library) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.rfind(L'\\') + 1);
  path += library;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
  if (process == nullptr) return false;
  const std::size_t bytes = (path.size() + 1) * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
  bool ran = false;
  if (remote != nullptr && WriteProcessMemory(process, remote, path.c_str(), bytes, nullptr)) {
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    if (HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr)) {
      ran = WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0;
      CloseHandle(thread);
    }
  }
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return ran;
}

// Loads drop-injector.dll into the process of `control`, which builds the drop there from the
// request in the shared mapping.
int DropFiles(HWND control, const std::vector<std::wstring>& files) {
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(DropRequest), kDropRequestName);
  if (mapping == nullptr) return 1;
  auto* request = static_cast<DropRequest*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DropRequest)));
  if (request == nullptr) return 1;
  std::memset(request, 0, sizeof(DropRequest));
  request->button = reinterpret_cast<std::uintptr_t>(control);
  std::size_t at = 0;
  for (const std::wstring& file : files) {
    if (at + file.size() + 2 >= kDropRequestCharacters) return 1;
    std::memcpy(request->files + at, file.c_str(), (file.size() + 1) * sizeof(wchar_t));
    at += file.size() + 1;
  }
  const bool posted = LoadIntoProcessOf(control, L"drop-injector.dll") && request->posted != 0;
  UnmapViewOfFile(request);
  CloseHandle(mapping);
  return posted ? 0 : 1;
}

// Has `library` look at `window` in the window's own process; prints its answer. 0 when it
// answered and counted nothing as failed.
int AskInProcess(HWND window, const wchar_t* library) {
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(InjectedRequest), kInjectedRequestName);
  if (mapping == nullptr) return 1;
  auto* request = static_cast<InjectedRequest*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(InjectedRequest)));
  if (request == nullptr) return 1;
  std::memset(request, 0, sizeof(InjectedRequest));
  request->window = reinterpret_cast<std::uintptr_t>(window);
  const bool answered = LoadIntoProcessOf(window, library) && request->answered != 0;
  if (answered) std::printf("%s", request->answer);
  const bool passed = answered && request->failures == 0;
  UnmapViewOfFile(request);
  CloseHandle(mapping);
  return passed ? 0 : 1;
}

}  // namespace

std::optional<int> RunInProcessCommand(const std::string& command, int argc,
                                       const char* const* argv) {
  if (command == "drop" && argc >= 5) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (control == nullptr) return 1;
    std::vector<std::wstring> files;
    for (int i = 4; i < argc; ++i) files.push_back(Wide(argv[i]));
    return DropFiles(control, files);
  }
  if ((command == "fit" || command == "remove-hooks") && argc == 3) {
    const HWND window = Find(argv[2], false, false, 0);
    if (window == nullptr) return 1;
    return AskInProcess(window, command == "fit" ? L"layout-inspector.dll" : L"hook-remover.dll");
  }
  return std::nullopt;
}
