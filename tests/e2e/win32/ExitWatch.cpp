// exit-watch SECONDS PROGRAM [ARGUMENT...]: runs PROGRAM with this process's standard handles and
// tells how it ended, in words on standard error where the ending is a fault of the program:
//
//   still running after SECONDS  "exit-watch: PROGRAM hung: stopped after SECONDS s", exit 124
//   an exception ended it        "exit-watch: PROGRAM ended by exception 0xC0000005", exit 125
//   any other end                PROGRAM's own exit code, nothing said
//
// Under Wine a Windows program's exit code reaches the Unix shell cut to its low byte, so a
// crash that got past the program's own exception filter (a fast fail, a stack overflow, heap
// corruption) looks like any small exit code there. Seen from Windows, the whole code tells it.
// The program runs in a job that ends with this process, so a watcher stopped from outside
// leaves no program behind holding hooks.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// One argument quoted so that the C runtime's parser gives it back unchanged.
std::wstring Quoted(const wchar_t* argument) {
  std::wstring text(argument);
  if (!text.empty() && text.find_first_of(L" \t\n\v\"") == std::wstring::npos) return text;
  std::wstring quoted = L"\"";
  for (auto at = text.begin();; ++at) {
    std::size_t backslashes = 0;
    while (at != text.end() && *at == L'\\') {
      ++at;
      ++backslashes;
    }
    if (at == text.end()) {
      quoted.append(backslashes * 2, L'\\');
      break;
    }
    if (*at == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    quoted.push_back(*at);
  }
  quoted.push_back(L'"');
  return quoted;
}

void Say(const wchar_t* format, const wchar_t* program, unsigned long value) {
  wchar_t line[1024];
  std::swprintf(line, sizeof line / sizeof line[0], format, program, value);
  std::fwprintf(stderr, L"%ls\n", line);
  std::fflush(stderr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: exit-watch SECONDS PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  const unsigned long seconds = std::wcstoul(argv[1], nullptr, 10);
  std::wstring commandLine = Quoted(argv[2]);
  for (int i = 3; i < argc; ++i) commandLine += L" " + Quoted(argv[i]);

  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job != nullptr) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                      nullptr, nullptr, &startup, &process)) {
    Say(L"exit-watch: %ls could not be started (error %lu)", argv[2], GetLastError());
    return 2;
  }
  if (job != nullptr) AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);

  if (WaitForSingleObject(process.hProcess, seconds * 1000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 124);
    WaitForSingleObject(process.hProcess, 5000);
    Say(L"exit-watch: %ls hung: stopped after %lu s", argv[2], seconds);
    return 124;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  if (code >= 0xC0000000UL) {
    Say(L"exit-watch: %ls ended by exception 0x%08lX", argv[2], code);
    return 125;
  }
  return static_cast<int>(code);
}
