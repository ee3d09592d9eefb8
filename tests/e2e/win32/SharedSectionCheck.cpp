// shared-section-check.exe: the real trellin_192.dll under Wine, owned by this process, while
// another process that loads the same file writes over its whole shared section "KMHook": with
// a device-tool path, with a rule-file path, with zeros. Each time Win+L with the away mode, a
// hotkey and a remapping must run exactly what this process's own settings say, and the other
// process's export calls before it must have changed nothing.
//   shared-section-check                        the owner's run, with the three intruders
//   shared-section-check fill devcon|rules|zeros RULES   (the intruder, run by the owner)
// The library's program starts and device-tool runs are taken over: they are noted, not run.
// Prints one line per check; exit status 0 when all passed.
#include <windows.h>
// clang-format off
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/win32/BoundLibrary.h"
#include "tests/e2e/win32/CheckInput.h"
#include "tests/e2e/win32/ImportTablePatch.h"
#include "tests/e2e/win32/RuleFileVersion.h"
#include "tests/e2e/win32/RunSelf.h"

namespace {

constexpr const char* kOwnerDevcon = "C:\\owner\\dc.exe";
constexpr const char* kOwnerProgram = "C:\\owner\\hotkey.exe";
constexpr const char* kIntruderDevcon = "C:\\intruder\\dc.exe";

int g_failures = 0;

void Check(bool passed, const std::string& what) {
  std::printf("%s %s\n", passed ? "ok  " : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!passed) ++g_failures;
}

// The section as this process maps it: the whole pages it occupies, all of which every process
// that maps the file shares.
struct SharedSection {
  BYTE* start = nullptr;
  std::size_t mapped = 0;
  DWORD declared = 0;
};

SharedSection FindSharedSection(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
  const DWORD alignment = headers->OptionalHeader.SectionAlignment;
  for (WORD i = 0; i < headers->FileHeader.NumberOfSections; ++i, ++section) {
    if (std::strncmp(reinterpret_cast<const char*>(section->Name), "KMHook", 8) != 0) continue;
    const DWORD declared = section->Misc.VirtualSize;
    return {base + section->VirtualAddress, (declared + alignment - 1) / alignment * alignment,
            declared};
  }
  return {};
}

// `text` and its terminating zero, again and again.
std::vector<BYTE> Repeated(const std::string& text, std::size_t size) {
  std::vector<BYTE> bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<BYTE>(text.c_str()[i % (text.size() + 1)]);
  return bytes;
}

std::vector<BYTE> FillFor(const std::string& mode, const std::string& rules, std::size_t size) {
  if (mode == "devcon") return Repeated(kIntruderDevcon, size);
  if (mode == "rules") return Repeated(rules, size);
  return std::vector<BYTE>(size, 0);
}

// The intruder: another program that loads the same file. Its calls must all be refused
// (StartHook and StopHook answer 0); then it writes over the whole section and ends. Exit code
// 0 when both held and the section was there to write.
int Intrude(const std::string& mode, const std::string& rules) {
  BoundLibrary library;
  if (!library.Load("shared-section-check")) return 3;
  HookSettings everything{};
  everything.Lock_Monitor = everything.InactiveMouse = everything.Key_KeyChange = 1;
  everything.Key_NoteBookMode = 1;
  library.SetConfigINI(rules.c_str());
  library.SetDevconPath(kIntruderDevcon);
  library.UpdateValue(&everything);
  const std::int32_t started = library.StartHook(0x1234);
  library.EnableHookStatue(0);
  const std::int32_t stopped = library.StopHook();
  const SharedSection section = FindSharedSection(library.module);
  if (section.start == nullptr) return 4;
  const std::vector<BYTE> fill = FillFor(mode, rules, section.mapped);
  std::memcpy(section.start, fill.data(), fill.size());
  return started == 0 && stopped == 0 ? 0 : 1;
}

// What the library did that this process watches, from any of its threads.
CRITICAL_SECTION g_lock;
std::vector<std::string> g_runLines;  // its "run" debug lines, in the order it asked
std::vector<std::string> g_shellCalls;
std::vector<DWORD> g_keysDown;
std::string g_taken;  // the rule file's version the library's watcher last took in

std::vector<std::string> Copy(const std::vector<std::string>& list) {
  EnterCriticalSection(&g_lock);
  std::vector<std::string> copy = list;
  LeaveCriticalSection(&g_lock);
  return copy;
}

void Note(std::vector<std::string>& list, std::string line) {
  EnterCriticalSection(&g_lock);
  list.push_back(std::move(line));
  LeaveCriticalSection(&g_lock);
}

void WINAPI WatchDebugLine(LPCSTR text) {
  static constexpr char kTaken[] = "trellin_192: rule file taken in: ";
  if (text != nullptr && std::strncmp(text, kTaken, sizeof kTaken - 1) == 0) {
    std::string version(text + sizeof kTaken - 1);
    if (!version.empty() && version.back() == '\n') version.pop_back();
    EnterCriticalSection(&g_lock);
    g_taken = std::move(version);
    LeaveCriticalSection(&g_lock);
    return;
  }
  if (text == nullptr || std::strncmp(text, "trellin_192: run ", 17) != 0) return;
  std::string line(text + 13);
  if (!line.empty() && line.back() == '\n') line.pop_back();
  Note(g_runLines, line);
}

BOOL WINAPI NoteShellExecuteEx(SHELLEXECUTEINFOA* run) {
  Note(g_shellCalls, std::string(run->lpFile) + " | " + run->lpParameters);
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FALSE;
}

HINSTANCE WINAPI NoteShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR parameters, LPCSTR, INT) {
  Note(g_shellCalls, std::string(file) + " | " + (parameters != nullptr ? parameters : ""));
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_FNF));
}

LRESULT CALLBACK SeenKeyboard(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)) {
    g_keysDown.push_back(reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode);
  }
  return CallNextHookEx(nullptr, code, message, data);
}

// Sends the key and lets this thread's hooks see it.
void Key(WORD virtualKey, WORD scanCode, bool down) {
  SendKey(virtualKey, scanCode, down);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void Tap(WORD virtualKey, WORD scanCode) {
  Key(virtualKey, scanCode, true);
  Key(virtualKey, scanCode, false);
}

// The library's watcher reads the rule file on its own thread, a moment after the start or a
// change: keys are pressed only once it has taken in the file as it is now (at most 10 s).
bool RulesTakenIn(const std::string& rules) {
  const std::string wanted = RuleFileVersion(rules);
  return PumpUntil(
      [&] {
        EnterCriticalSection(&g_lock);
        const bool taken = g_taken == wanted;
        LeaveCriticalSection(&g_lock);
        return taken;
      },
      10000);
}

// A is pressed: whether B reached the system in its place (and A did not), the owner's
// remapping, not the intruder's (A as C).
bool AGivesB() {
  g_keysDown.clear();
  Tap('A', 0x1E);
  PumpUntil([] { return !g_keysDown.empty(); }, 5000);
  return g_keysDown == std::vector<DWORD>{'B'};
}

std::string OffState(const std::string& rules) {
  char value[16] = {};
  GetPrivateProfileStringA("Mouse", "OffState", "", value, sizeof value, rules.c_str());
  return value;
}

void WriteFileBytes(const std::string& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// One intruder, then the owner's gestures: each must run the owner's own programs with the
// owner's own parameters, in this order, and nothing else.
void Round(const std::string& mode, const SharedSection& section, const std::vector<BYTE>& ownClaim,
           const std::string& rules, const std::string& intruderRules) {
  std::printf("-- the section filled with %s\n", mode.c_str());
  // The section names this process again, as after its own claim: the intruder's calls meet
  // the owner, not what the last intruder left.
  std::memcpy(section.start, ownClaim.data(), ownClaim.size());
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  Check(RunSelf(self, "fill " + mode + " \"" + intruderRules + "\"") == 0,
        "the intruder's StartHook and StopHook answer 0, and it writes over the section");
  const std::vector<BYTE> fill = FillFor(mode, intruderRules, section.mapped);
  Check(std::memcmp(section.start, fill.data(), fill.size()) == 0,
        "this process sees the intruder's bytes in its own mapping of the section");
  EnterCriticalSection(&g_lock);
  g_runLines.clear();
  g_shellCalls.clear();
  LeaveCriticalSection(&g_lock);
  WritePrivateProfileStringA("Mouse", "OffState", nullptr, rules.c_str());
  Check(RulesTakenIn(rules), "the library took in the rule file without the note");

  Check(AGivesB(), "the owner's remapping applies (A as B)");
  Tap(VK_F9, 0x43);          // the owner's hotkey
  Key(VK_LWIN, 0x5B, true);  // Win+L: the away mode begins at L's release
  Tap('L', 0x26);
  Key(VK_LWIN, 0x5B, false);
  Check(PumpUntil([&] { return OffState(rules) == "1"; }, 5000),
        "the device tool's note is written into the owner's rule file");
  // No wait for the watcher's read of the note's version: the library replaces the file in one
  // step, so whatever the watcher reads meanwhile holds the owner's rules.
  Check(AGivesB(), "a key ends the away mode, and is remapped as the owner says");

  char rundll[MAX_PATH] = {};
  ExpandEnvironmentStringsA("%windir%\\System32\\rundll32.exe", rundll, MAX_PATH);
  const std::string own = std::string("\"") + kOwnerDevcon + "\" ";
  const std::vector<std::string> expected = {
      std::string("run \"") + kOwnerProgram + "\" \"own\" 5",
      "run " + own + "\"disable =Mouse\" 0",
      std::string("run \"") + rundll + "\" \"user32.dll, LockWorkStation\" 5",
      "run " + own + "\"enable =Mouse\" 0",
  };
  PumpUntil([&] { return Copy(g_shellCalls).size() >= expected.size(); }, 10000);
  const std::vector<std::string> lines = Copy(g_runLines);
  for (const std::string& line : lines) std::printf("     (%s)\n", line.c_str());
  Check(lines == expected, "the library asked to run exactly the owner's programs, in order");
  std::vector<std::string> calls = Copy(g_shellCalls);
  std::vector<std::string> wanted = {std::string(kOwnerProgram) + " | own",
                                     std::string(kOwnerDevcon) + " | disable =Mouse",
                                     std::string(rundll) + " | user32.dll, LockWorkStation",
                                     std::string(kOwnerDevcon) + " | enable =Mouse"};
  std::sort(calls.begin(), calls.end());
  std::sort(wanted.begin(), wanted.end());
  Check(calls == wanted, "the shell was asked for exactly those");
  Check(OffState(intruderRules).empty(), "the intruder's rule file was left alone");
}

int Own() {
  InitializeCriticalSection(&g_lock);
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "tastron-section-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string rules = folder + "\\config.ini";
  const std::string intruderRules = folder + "\\intruder.ini";
  WriteFileBytes(rules, std::string("[KeyChange]\r\n41/1e=42/30\r\n[HotKey]\r\n") +
                            "78/43/0/0/0/0/0/0/0/0=1/" + kOwnerProgram + "/own\r\n");
  WriteFileBytes(intruderRules,
                 "[KeyChange]\r\n41/1e=43/2e\r\n[HotKey]\r\n"
                 "78/43/0/0/0/0/0/0/0/0=1/C:\\intruder\\evil.exe/\r\n");

  BoundLibrary library;
  if (!library.Load("shared-section-check")) return 1;
  const bool patched = PatchImport(library.module, "kernel32.dll", "OutputDebugStringA",
                                   reinterpret_cast<void*>(&WatchDebugLine)) != nullptr &&
                       PatchImport(library.module, "shell32.dll", "ShellExecuteExA",
                                   reinterpret_cast<void*>(&NoteShellExecuteEx)) != nullptr &&
                       PatchImport(library.module, "shell32.dll", "ShellExecuteA",
                                   reinterpret_cast<void*>(&NoteShellExecute)) != nullptr;
  const SharedSection section = FindSharedSection(library.module);
  Check(patched && section.start != nullptr, "the library is loaded, watched and has KMHook");
  if (!patched || section.start == nullptr) return 1;
  std::printf("     (KMHook declares %lu bytes; %u bytes mapped)\n", section.declared,
              static_cast<unsigned>(section.mapped));

  const HWND host = CreateWindowExA(0, "STATIC", "section host", 0, 0, 0, 10, 10, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
  SetWindowsHookExA(WH_KEYBOARD_LL, SeenKeyboard, GetModuleHandleA(nullptr), 0);
  HookSettings settings{};
  settings.Lock_Monitor = 1;
  settings.LockWorkStation = 1;
  settings.InactiveMouse = 1;
  settings.Key_KeyChange = 1;
  settings.Key_NoteBookMode = 1;
  library.SetConfigINI(rules.c_str());
  library.SetDevconPath(kOwnerDevcon);
  library.UpdateValue(&settings);
  Check(library.StartHook(static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(host))) == 1,
        "this process owns the hooks");
  library.EnableHookStatue(1);
  Check(RulesTakenIn(rules), "the library took in the owner's rule file");
  const std::vector<BYTE> ownClaim(section.start, section.start + section.mapped);

  for (const char* mode : {"devcon", "rules", "zeros"})
    Round(mode, section, ownClaim, rules, intruderRules);

  library.StopHook();
  library.EnableHookStatue(0);
  DestroyWindow(host);
  DeleteFileA(rules.c_str());
  DeleteFileA(intruderRules.c_str());
  RemoveDirectoryA(folder.c_str());
  std::printf("%s build: %s\n", sizeof(void*) == 4 ? "32-bit" : "64-bit",
              g_failures == 0 ? "what the owner runs comes from the owner alone"
                              : "the shared section changed what the owner runs");
  return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return Own();
  if (argc == 4 && std::strcmp(argv[1], "fill") == 0) return Intrude(argv[2], argv[3]);
  std::fprintf(stderr, "usage: shared-section-check [fill devcon|rules|zeros RULES]\n");
  return 2;
}
