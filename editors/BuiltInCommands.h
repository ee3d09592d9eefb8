#pragma once

#include <span>

// The built-in commands of the hotkey editor: presets that fill in a program of the Windows
// folder and its parameter, as if the user had typed them, so that the stored rule is an
// ordinary program rule and no command number leaves the editor. The one exception is the
// pause of Tastron itself, which no program can do: it is an action of its own ("2/").
struct BuiltInCommand {
  const char* text;        // the combo entry
  int preset;              // 0: a heading or separator, which does nothing
  const char* pathSuffix;  // appended to the Windows folder
  const char* parameter;
};

// Preset 1 takes its parameter from a folder the user chooses.
inline constexpr int kFolderPreset = 1;
// The hotkey pauses and resumes Tastron.
inline constexpr int kPauseTastronPreset = 16;
inline constexpr const char* kPauseTastronText = "Tastron 일시 정지 / 다시 시작";

// The combo's entries in their order; the first is "기능 선택".
std::span<const BuiltInCommand> BuiltInCommands();
