#pragma once

#include <span>

// The built-in commands of the hotkey editor: presets that fill in a program of the Windows
// folder and its parameter, as if the user had typed them. The stored rule is an ordinary
// program rule; no command number leaves the editor.
struct BuiltInCommand {
  const char* text;        // the combo entry
  int preset;              // 0: a heading or separator, which does nothing
  const char* pathSuffix;  // appended to the Windows folder
  const char* parameter;
};

// Preset 1 takes its parameter from a folder the user chooses.
inline constexpr int kFolderPreset = 1;

// The combo's entries in their order; the first is "기능 선택".
std::span<const BuiltInCommand> BuiltInCommands();
