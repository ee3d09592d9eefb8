#pragma once

#include <optional>
#include <string>

// Programs started by the desktop's shell (Explorer), with the shell's rights: the documented
// way for an elevated program to start one with the user's normal rights.
namespace desktop_shell {

// Whether the process of the desktop's shell window is elevated; nullopt without a shell window
// or when its process cannot be asked.
std::optional<bool> IsElevated();
// IShellDispatch2::ShellExecute of the desktop's folder view, verb "open"; the file and the
// parameters in the ANSI code page, as the rule file holds them. Takes COM for the call, so it
// runs on a worker, never on the hook thread.
bool Start(const std::string& file, const std::string& parameters, int show);

}  // namespace desktop_shell
