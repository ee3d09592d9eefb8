// The watchdog check: a removed keyboard hook is noticed while the mouse moves, a key the library
// held is let go of after a reinstall, and input the hooks are never given makes it back off.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/win32/CheckInput.h"
#include "tests/e2e/win32/ImportTablePatch.h"
#include "tests/e2e/win32/LibraryCheckKeys.h"
#include "tests/e2e/win32/LibraryCheckRemovals.h"
#include "tests/e2e/win32/LibraryCheckReport.h"
#include "tests/e2e/win32/LibraryCheckRuleFiles.h"
#include "tests/e2e/win32/LibraryCheckWatches.h"
#include "tests/e2e/win32/LibraryChecks.h"

namespace {

// Input that no hook is given (the secure desktop, an elevated program's window), as the
// library's GetLastInputInfo reports it while this is set.
bool g_inputElsewhere = false;
decltype(&GetLastInputInfo) g_realLastInput = nullptr;

BOOL WINAPI LastInputElsewhere(PLASTINPUTINFO info) {
  const BOOL answered = g_realLastInput(info);
  if (g_inputElsewhere) info->dwTime = GetTickCount();
  return answered;
}

void NudgeMouse(LONG dx) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

bool KeyDown(int virtualKey) {
  return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace

int CheckWatchdog() {
  const std::string folder = RuleFolder();
  const std::string rules = folder + "\\config.ini";
  WriteFileBytes(rules, "[KeyChange]\r\n14/3a=51/10\r\n");  // Caps Lock as Q
  SetWriteTime(rules, AnHourAgo());
  BoundLibrary library;
  if (!Start(library, rules, false)) return 1;
  g_realLastInput = reinterpret_cast<decltype(g_realLastInput)>(
      PatchImport(library.module, "user32.dll", "GetLastInputInfo",
                  reinterpret_cast<void*>(&LastInputElsewhere)));
  Check(g_realLastInput != nullptr && g_libraryHooks.size() == 2, "the library is watched");

  // The keyboard hook alone removed (the first of the two) while the mouse keeps moving and Z
  // is held.
  const Removal keyboardGone = NoteRemoval();
  if (g_realUnhook(g_libraryHooks[g_libraryHooks.size() - 2])) --g_libraryHooksInPlace;
  SendKey('Z', 0x2C, true);
  Check(BackByDueTick(keyboardGone, GetTickCount(), [] { NudgeMouse(1); }),
        "mouse movement does not hide a removed keyboard hook");
  SendKey('Z', 0x2C, false);
  Check(PumpUntil([] { return !KeyDown('Z'); }, 5000), "the key held meanwhile comes up");

  // Caps Lock (as Q) let go of while the hooks were gone: Q must not stay down.
  SendKey(VK_CAPITAL, 0x3A, true);
  Check(PumpUntil([] { return KeyDown('Q'); }, 5000), "Caps Lock holds Q down");
  const Removal bothGone = NoteRemoval();
  RemoveLibraryHooks(2);
  PassRemovalTick(bothGone);
  SendKey(VK_CAPITAL, 0x3A, false);
  Check(BackByDueTick(bothGone, GetTickCount(), [] {}), "the hooks come back");
  Check(PumpUntil([] { return !KeyDown('Q'); }, 5000), "after the reinstall, Q is let go of");

  // Input the hooks are never given: the watchdog backs off, each wait twice the one before
  // (1, 2, 4 s), so 12 ticks hold 2 or 3 reinstallations; without the back-off there would be
  // 12, without its doubling 6. A tick served late may shift one, so up to 4 pass.
  const std::size_t before = g_reinstallTicks.size();
  g_inputElsewhere = true;
  Check(PumpTicks(12), "the watchdog ticks");
  g_inputElsewhere = false;
  const std::size_t during = g_reinstallTicks.size() - before;
  std::printf("     (%u reinstallations in 12 ticks of input the hooks were never given)\n",
              static_cast<unsigned>(during));
  Check(during >= 2 && during <= 4, "it backs off while the hooks are never given the input");
  Check(g_libraryHooksInPlace == 2, "exactly two hooks of the library are in place");
  const std::vector<DWORD> down = Press(VK_CAPITAL, 0x3A);
  Check(down.size() == 1 && down[0] == 'Q', "the hooks still decide");

  library.StopHook();
  library.EnableHookStatue(0);
  DeleteFileA(rules.c_str());
  RemoveDirectoryA(folder.c_str());
  return g_failures == 0 ? 0 : 1;
}
