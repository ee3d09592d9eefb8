// shell-start-check FILE PARAMETERS: starts FILE through the desktop's shell, as the library
// starts a rule's program from an elevated Tastron beside a shell with normal rights, and
// prints what the shell's process is ("shell elevated", "shell normal", "no shell") and
// whether the start was made ("started", "not started": exit status 1).
#include <cstdio>
#include <optional>

#include "hook/win32/DesktopShellStart.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::optional<bool> elevated = desktop_shell::IsElevated();
  std::printf("%s\n", !elevated ? "no shell" : *elevated ? "shell elevated" : "shell normal");
  const bool started = desktop_shell::Start(argv[1], argv[2], 1);
  std::printf("%s\n", started ? "started" : "not started");
  return started ? 0 : 1;
}
