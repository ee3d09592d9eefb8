// drop-injector.dll: loaded into another process by ui-probe's "drop" command, it builds the
// HDROP there, as the shell's drag and drop does for a window that accepts files, and posts
// WM_DROPFILES to the button named in the probe's file mapping. An HDROP is memory of the
// receiving process: one made in the probe would name nothing in the target.
// It refuses to stay loaded (DllMain returns FALSE), so each drop loads it anew.
#include <windows.h>
// clang-format off
#include <shlobj.h>
// clang-format on

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "DropRequest.h"

namespace {

void PostDrop() {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kDropRequestName);
  if (mapping == nullptr) return;
  auto* request = static_cast<DropRequest*>(
      MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(DropRequest)));
  if (request != nullptr) {
    // The files stand one after another, each ended by NUL, the list by a second NUL.
    std::size_t characters = 0;
    while (request->files[characters] != L'\0' && characters + 1 < kDropRequestCharacters) {
      characters += std::wcslen(request->files + characters) + 1;
    }
    const std::size_t bytes = sizeof(DROPFILES) + (characters + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    if (auto* drop = static_cast<DROPFILES*>(GlobalLock(memory))) {
      drop->pFiles = sizeof(DROPFILES);
      drop->fWide = TRUE;
      std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), request->files,
                  characters * sizeof(wchar_t));
      GlobalUnlock(memory);
      const auto button = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request->button));
      request->posted =
          PostMessageW(button, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0) ? 1 : 0;
    }
    UnmapViewOfFile(request);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    PostDrop();
    return FALSE;
  }
  return TRUE;
}
