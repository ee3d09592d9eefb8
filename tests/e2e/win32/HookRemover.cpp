// hook-remover.dll: loaded into Tastron's process by ui-probe's "remove-hooks" command, it
// removes the hook library's two hooks there, as Windows removes hooks whose call outlasted the
// time-out: nothing tells the library. The library keeps its state in its own (unshared) data
// in that process; the state is found there by its first fields: the host window (the window
// ui-probe names), then the two hook handles. Refuses to stay loaded (DllMain returns FALSE).
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "InjectedRequest.h"
#include "hook/HookState.h"

namespace {

// The library's state in this process: the first place in its writable, unshared sections that
// holds the host window followed by two hook handles.
const HookState* LibraryState(HWND host) {
  const auto base = reinterpret_cast<const BYTE*>(GetModuleHandleW(L"trellin_192.dll"));
  if (base == nullptr) return nullptr;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
  const auto hostValue = reinterpret_cast<WindowHandle>(host);
  for (WORD i = 0; i < headers->FileHeader.NumberOfSections; ++i, ++section) {
    const DWORD flags = section->Characteristics;
    if ((flags & IMAGE_SCN_MEM_WRITE) == 0 || (flags & IMAGE_SCN_MEM_SHARED) != 0) continue;
    const BYTE* start = base + section->VirtualAddress;
    const std::size_t size = section->Misc.VirtualSize;
    for (std::size_t at = 0; at + sizeof(HookState) <= size; at += alignof(HookState)) {
      const auto* state = reinterpret_cast<const HookState*>(start + at);
      if (state->HostWindow == hostValue && state->KeyboardHook != 0 && state->MouseHook != 0) {
        return state;
      }
    }
  }
  return nullptr;
}

std::string RemoveHooks(HWND host, unsigned& failures) {
  const HookState* state = LibraryState(host);
  unsigned removed = 0;
  if (state != nullptr) {
    for (const HookHandle hook : {state->KeyboardHook, state->MouseHook}) {
      if (hook != 0 && UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook))) ++removed;
    }
  }
  failures = removed == 2 ? 0 : 1;
  return std::string(state != nullptr ? "library state found" : "no library state") + ", " +
         std::to_string(removed) + " hooks removed\n";
}

}  // namespace

void AnswerInjectedRequest() {
  AnswerInjectedRequest(RemoveHooks);
}
