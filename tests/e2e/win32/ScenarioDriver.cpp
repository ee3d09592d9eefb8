// scenario-driver.exe SCRIPT: plays a scenario script on the real trellin_192.dll and prints
// the trace in the format of tastron-sim. The driver is the host: its own window is the host
// window, it loads the library by name and binds the six exports, replays physical input with
// SendInput (tagged, so that the library's own input shows as "injected"), and sees what reaches
// the system through low-level hooks installed before StartHook, which therefore run after the
// library's. What Wine cannot show directly (the screen saver switch, rule file writes) it sees
// by watching the library's imports of those calls. Programs start on the library's workers, a
// moment after the library asks: the driver traces the request (the library's debug line), then
// checks that the starts that really happened match the requests, in order. The device tool's
// worker does its part (notes, the broadcast after a run) a moment later still: the driver keeps
// the simulated desktop's clock (the script's waits) and the tool's duration, and shows each
// run's effects once that clock says the run has started or ended, as tastron-sim does.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <ostream>
#include <streambuf>
#include <string>

#include "scenario/ScenarioScript.h"
#include "tests/e2e/win32/DriverStarts.h"
#include "tests/e2e/win32/WineDesktop.h"

namespace {

std::string TemporaryRuleFile() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  std::string path = std::string(folder) + "tastron-e2e-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path.c_str(), nullptr);
  return path + "\\config.ini";
}

// A top-level window whose thread never looks at its messages again: whatever is sent to it
// and waits for an answer waits for ever.
DWORD WINAPI HungWindowThread(void* ready) {
  WNDCLASSA hungClass{};
  hungClass.lpfnWndProc = DefWindowProcA;
  hungClass.hInstance = GetModuleHandleA(nullptr);
  hungClass.lpszClassName = "TastronHungWindow";
  RegisterClassA(&hungClass);
  CreateWindowExA(WS_EX_NOACTIVATE, hungClass.lpszClassName, "hung", WS_POPUP | WS_VISIBLE, 0, 600,
                  50, 50, nullptr, nullptr, hungClass.hInstance, nullptr);
  SetEvent(static_cast<HANDLE>(ready));
  Sleep(INFINITE);
  return 0;
}

void StartHungWindow() {
  const HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const HANDLE thread = CreateThread(nullptr, 0, HungWindowThread, ready, 0, nullptr);
  if (thread != nullptr) CloseHandle(thread);
  WaitForSingleObject(ready, 10000);
  CloseHandle(ready);
}

// A crash says what and where, and ends the driver at once: Wine would otherwise start its
// debugger, which waits on the display until the run's time-out.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* crash) {
  std::fprintf(stderr, "scenario-driver: exception %08lx at %p\n",
               crash->ExceptionRecord->ExceptionCode, crash->ExceptionRecord->ExceptionAddress);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

// scenario-driver SCRIPT [--report-timing] [--hung-window]
//   --report-timing   print the longest time the hooks held one input event on stderr
//   --hung-window     a top-level window that never answers is present while the script runs
// Before it ends, the driver waits until the programs the library asked for have started and
// the device tool's runs have ended, and fails (exit status 4) if they differ from the requests.
int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(ReportCrash);
  _setmode(_fileno(stdout), _O_BINARY);
  // The scenarios' host environment names the Windows folder so.
  SetEnvironmentVariableA("windir", "C:\\Windows");
  bool reportTiming = false;
  bool hungWindow = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--report-timing") == 0) {
      reportTiming = true;
    } else if (std::strcmp(argv[i], "--hung-window") == 0) {
      hungWindow = true;
    } else {
      argc = 0;
    }
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: scenario-driver SCRIPT [--report-timing] [--hung-window]\n");
    return 2;
  }
  std::ifstream script(argv[1], std::ios::binary);
  if (!script) {
    std::fprintf(stderr, "scenario-driver: cannot open %s\n", argv[1]);
    return 2;
  }
  const std::string ruleFile = TemporaryRuleFile();
  DeleteFileA(ruleFile.c_str());
  const int deviceToolLogBefore = CountLines(kDeviceToolLog);
  if (hungWindow) StartHungWindow();

  WineDesktop desktop;
  if (!desktop.Start(ruleFile)) return 3;
  struct StdoutTrace : std::streambuf {
    int overflow(int c) override { return c == EOF ? 0 : std::fputc(c, stdout); }
  } traceBuffer;
  std::ostream trace(&traceBuffer);
  ScenarioScript runner(desktop, trace, ScenarioScript::FolderOf(argv[1]));
  const auto error = runner.Run(script);
  desktop.Settle();
  const bool startsMatch = StartsMatchRequests(desktop, deviceToolLogBefore);
  desktop.Stop();
  std::fflush(stdout);
  if (reportTiming) {
    std::fprintf(stderr, "longest input: %llu ms\n", desktop.LongestInputMs());
  }

  DeleteFileA(ruleFile.c_str());
  RemoveDirectoryA(ruleFile.substr(0, ruleFile.rfind('\\')).c_str());
  if (error) {
    std::fprintf(stderr, "%s\n", error->c_str());
    return 2;
  }
  return startsMatch ? 0 : 4;
}
