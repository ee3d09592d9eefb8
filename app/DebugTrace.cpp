#include "app/DebugTrace.h"

#include <cstdio>

#include "ui/CUtilityLib.h"
#include "ui/WindowsFormat.h"

namespace {

constexpr std::size_t kLineBuffer = 2048;

}  // namespace

std::string FormatDebugTraceLine(const std::string& executableName, std::uint32_t processId,
                                 std::uint32_t threadId, const char* format,
                                 std::va_list arguments) {
  char prefix[kLineBuffer];
  std::snprintf(prefix, sizeof prefix, "%s>%08X:%08X::", executableName.c_str(),
                static_cast<unsigned>(processId), static_cast<unsigned>(threadId));
  std::string line = executableName + prefix + FormatWindowsStyle(format, arguments);
  for (char& c : line) {
    if (c == '\r') c = ' ';
    if (c == '\n') c = ',';
  }
  // The line and its line feed share the buffer with the terminating zero.
  if (line.size() > kLineBuffer - 2) line.resize(kLineBuffer - 2);
  return line + '\n';
}

void DebugTrace(const char* format, ...) {
  Services& services = CUtilityLib::Get();
  const std::string path = services.ExecutablePath();
  const std::size_t slash = path.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::va_list arguments;
  va_start(arguments, format);
  const std::string line =
      FormatDebugTraceLine(name, services.ProcessId(), services.ThreadId(), format, arguments);
  va_end(arguments);
  services.DebugOutput(line);
}
