// ui-probe's commands in their groups. Each runs the command named `command` (argv[1]) when it
// has it with that many arguments: its exit code; nothing when the group has no such command.
#pragma once

#include <optional>
#include <string>

using ProbeCommandGroup = std::optional<int> (*)(const std::string& command, int argc,
                                                 const char* const* argv);

// Top-level windows: waited for, read, sent messages, closed.
std::optional<int> RunWindowCommand(const std::string& command, int argc, const char* const* argv);
// The controls of a window, by id.
std::optional<int> RunControlCommand(const std::string& command, int argc, const char* const* argv);
// Report lists: rows, selection, clicks into cells.
std::optional<int> RunListCommand(const std::string& command, int argc, const char* const* argv);
// Keys pressed, and what an edit box of the probe's own receives from them.
std::optional<int> RunInputCommand(const std::string& command, int argc, const char* const* argv);
// Work done in another program's process by a library loaded there.
std::optional<int> RunInProcessCommand(const std::string& command, int argc,
                                       const char* const* argv);
// The code page, profile functions and shell links as the main program uses them.
std::optional<int> RunSystemCommand(const std::string& command, int argc, const char* const* argv);
