// Program starts, the workstation's lock and the device tool's runs, each on a worker of its
// own, and the monitor-off broadcast.
#include "hook/win32/Win32HookPlatform.h"

#include <shellapi.h>

#include <optional>
#include <string>

#include "common/win32/DeviceToolTurn.h"
#include "common/win32/ProcessElevation.h"
#include "hook/ProgramStartRoute.h"
#include "hook/win32/DesktopShellStart.h"
#include "hook/win32/OrderedWorker.h"
#include "profile/IniDocument.h"
#include "profile/win32/Win32FileReplacement.h"

namespace {

// Program starts leave the hook thread: the shell may take its time (a slow disk, a network
// path, an association that asks something), and Windows removes a hook whose call outlasts its
// time-out. Device tool runs have a worker of their own, so that a slow run delays the next run
// (runs must not overlap) but never a program start.
OrderedWorker& ProgramStarts() {
  static OrderedWorker& worker = *new OrderedWorker;  // lives as long as the process
  return worker;
}
OrderedWorker& DeviceToolRuns() {
  static OrderedWorker& worker = *new OrderedWorker;
  return worker;
}

// What the library asked for goes to the debugger output at the moment it asks, in the order it
// asks; the start itself happens a moment later on a worker.
void TraceStart(std::string_view file, std::string_view parameters, int show) {
  std::string line = "trellin_192: run \"";
  line.append(file);
  line += "\" \"";
  line.append(parameters);
  line += "\" " + std::to_string(show) + "\n";
  OutputDebugStringA(line.c_str());
}

HANDLE StartHidden(const std::string& path, const std::string& parameters) {
  SHELLEXECUTEINFOA run{};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  run.lpVerb = "open";
  run.lpFile = path.c_str();
  run.lpParameters = parameters.c_str();
  run.nShow = SW_HIDE;
  return ShellExecuteExA(&run) ? run.hProcess : nullptr;
}

// The lock of the workstation has a worker of its own: a program start that stalls (a file on
// an unreachable share, a consent prompt) must not leave the desktop unlocked.
OrderedWorker& LockStarts() {
  static OrderedWorker& worker = *new OrderedWorker;
  return worker;
}

void StartDirectly(const std::string& file, const std::string& parameters, int show) {
  ShellExecuteA(nullptr, "open", file.c_str(), parameters.c_str(), nullptr, show);
}

// A program of the user's rules: never with rights the desktop's shell does not have. Where the
// shell should start it and cannot, it does not start elevated instead: the debugger output
// says so.
void StartForUser(const std::string& file, const std::string& parameters, int show) {
  const bool elevated = TokenIsElevated(GetCurrentProcess()).value_or(false);
  if (ChooseProgramStartRoute(elevated, desktop_shell::IsElevated()) == ProgramStartRoute::Direct) {
    StartDirectly(file, parameters, show);
  } else if (!desktop_shell::Start(file, parameters, show)) {
    OutputDebugStringA(("trellin_192: the desktop shell did not start \"" + file + "\"\n").c_str());
  }
}

void StartOn(OrderedWorker& worker, std::string_view file, std::string_view parameters, int show,
             void (*start)(const std::string&, const std::string&, int)) {
  TraceStart(file, parameters, show);
  worker.Run([file = std::string(file), parameters = std::string(parameters), show,
              start] { start(file, parameters, show); },
             0);
}

bool IsUtf16(const std::string& bytes) {
  if (bytes.size() < 2) return false;
  const auto first = static_cast<unsigned char>(bytes[0]);
  const auto second = static_cast<unsigned char>(bytes[1]);
  return (first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF);
}

// The entry as text edited in place, the file replaced in one step; false where that cannot
// be done (a file that cannot be read, a UTF-16 file, which that text editing does not read).
bool ReplaceEntry(const HookPlatform::DeviceToolEntry& note) {
  const std::optional<std::string> bytes = ReadFileToRewriteA(note.file);
  if (!bytes || IsUtf16(*bytes)) return false;
  IniDocument document(*bytes);
  if (note.value.empty()) {
    if (!document.DeleteKey(note.section, note.key)) return true;  // nothing to delete
  } else {
    document.SetValue(note.section, note.key, note.value);
  }
  return ReplaceFileContentsA(note.file, document.Text());
}

// The entry lives in the rule file, which the library's own watcher reads at any moment. The
// profile functions empty the file before they write it again, and a read in between finds no
// rules at all (remapped keys pass as they are until the next read): so the file is replaced in
// one step, as the editors write it, and only what cannot be written so is left to the profile
// functions. The debugger output tells each entry once it is in the file.
void WriteEntry(const HookPlatform::DeviceToolEntry& note) {
  if (!ReplaceEntry(note)) {
    WritePrivateProfileStringA(note.section.c_str(), note.key.c_str(),
                               note.value.empty() ? nullptr : note.value.c_str(),
                               note.file.c_str());
  }
  const std::string told = note.value.empty() ? " deleted" : "=" + note.value;
  OutputDebugStringA(("trellin_192: entry " + note.section + " " + note.key + told + "\n").c_str());
}

// Sent, but without waiting for the windows of other threads: one hung window would hold the
// caller (the hook call, until Windows removes the hook). Windows of this thread get it at once.
void SendMonitorOff() {
  constexpr LPARAM kMonitorOff = 2;
  SendNotifyMessageA(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorOff);
}

}  // namespace

void Win32HookPlatform::StartProgram(std::string_view file, std::string_view parameters, int show) {
  StartOn(ProgramStarts(), file, parameters, show, StartForUser);
}

void Win32HookPlatform::StartOnLockWorker(std::string_view file, std::string_view parameters,
                                          int show) {
  // The lock command is the system's own, not a program of the user's.
  StartOn(LockStarts(), file, parameters, show, StartDirectly);
}

// Each run takes its turn with the main program's own runs; its end goes to the debugger
// output last, after its note and broadcast.
void Win32HookPlatform::RunDeviceTool(const char* path, std::string_view parameters,
                                      std::chrono::milliseconds wait, const DeviceToolEntry& note,
                                      bool monitorOffWhenEnded) {
  TraceStart(path, parameters, SW_HIDE);
  DeviceToolRuns().Run(
      [path = std::string(path), parameters = std::string(parameters), note, monitorOffWhenEnded] {
        DWORD exitCode = STILL_ACTIVE;
        {
          const DeviceToolTurn turn;
          if (note.when == DeviceToolEntry::When::BeforeRun) WriteEntry(note);
          if (const HANDLE process = StartHidden(path, parameters)) {
            if (WaitForSingleObject(process, DeviceToolTurn::kLongestRunMs) == WAIT_OBJECT_0) {
              GetExitCodeProcess(process, &exitCode);
            }
            CloseHandle(process);
          }
          if (note.when == DeviceToolEntry::When::AfterSuccess && exitCode == 0) WriteEntry(note);
        }
        if (monitorOffWhenEnded) SendMonitorOff();
        OutputDebugStringA(
            ("trellin_192: device tool ended, exit code " + std::to_string(exitCode) + "\n")
                .c_str());
      },
      static_cast<DWORD>(wait.count()));
}

void Win32HookPlatform::BroadcastMonitorOff() {
  SendMonitorOff();
}
