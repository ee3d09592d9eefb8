// hook-remover.dll: loaded into Tastron's process by ui-probe's "remove-hooks" command, it
// removes the hook library's two hooks there, as Windows removes hooks whose call outlasted the
// time-out: nothing tells the library. The handles are read from the library's shared section
// "KMHook" in that process. Refuses to stay loaded (DllMain returns FALSE).
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "InjectedRequest.h"
#include "hook/HookState.h"

namespace {

// The library's shared state in this process: the start of its section "KMHook".
const HookState* SharedState() {
  const auto base = reinterpret_cast<const BYTE*>(GetModuleHandleW(L"trellin_192.dll"));
  if (base == nullptr) return nullptr;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
  for (WORD i = 0; i < headers->FileHeader.NumberOfSections; ++i, ++section) {
    if (std::strncmp(reinterpret_cast<const char*>(section->Name), "KMHook", 8) == 0) {
      return reinterpret_cast<const HookState*>(base + section->VirtualAddress);
    }
  }
  return nullptr;
}

std::string RemoveHooks(HWND, unsigned& failures) {
  const HookState* state = SharedState();
  unsigned removed = 0;
  if (state != nullptr) {
    for (const HookHandle hook : {state->KeyboardHook, state->MouseHook}) {
      if (hook != 0 && UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook))) ++removed;
    }
  }
  failures = removed == 2 ? 0 : 1;
  return std::string(state != nullptr ? "library found" : "no library") + ", " +
         std::to_string(removed) + " hooks removed\n";
}

}  // namespace

void AnswerInjectedRequest() {
  AnswerInjectedRequest(RemoveHooks);
}
