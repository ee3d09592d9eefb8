#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// A rule file of 600 entries (300 hotkeys, 299 remappings and the middle-button rule), none of
// which matches the key the benchmarks press (Z, 5a/2c, alone). One hotkey names Z with other
// modifiers, so that the hotkey step reads the modifiers and looks the key up.
inline std::string RuleFileForBench() {
  std::string text = "[Hotkey]\r\n5a/2c/1/1/0/0/0/0/0/0=1/program-z.exe/\r\n";
  char line[96];
  for (int i = 0; i < 299; ++i) {
    std::snprintf(line, sizeof line, "%02x/%02x/1/1/0/0/0/0/0/0=1/program%d.exe/\r\n",
                  0x30 + i % 40, i / 40, i);
    text += line;
  }
  text += "[KeyChange]\r\n";
  for (int i = 0; i < 299; ++i) {
    std::snprintf(line, sizeof line, "%02x/%02x=%02x/%02x\r\n", 0x60 + i % 20, 0x80 + i / 20,
                  0x41 + i % 26, 0x10 + i % 30);
    text += line;
  }
  text += "[MouseMap2]\r\nKeyState=1/0/0/0/0/0\r\nMapped=1/calc.exe/\r\n";
  return text;
}

// The same file with 20 tap-hold rules (function keys and the number row, none of them Z), so
// that each press looks up the tap-hold rules for all programs before the remappings.
inline std::string RuleFileWithTapHoldForBench() {
  std::string text = RuleFileForBench() + "[TapHold]\r\n";
  char line[64];
  for (int i = 0; i < 20; ++i) {
    std::snprintf(line, sizeof line, "%02x/%02x=15/f2/a2/1d/200\r\n", i < 10 ? 0x30 + i : 0x66 + i,
                  i < 10 ? 0x02 + i : 0x31 + i);
    text += line;
  }
  return text;
}

inline constexpr int kBenchPrograms = 20;
inline constexpr int kBenchRulesPerProgram = 30;

// The same file with rules for 20 programs, 30 each (15 remappings, 15 hotkeys), the first of
// them `programInFront` (the benchmark puts a window of it in front), the others made up. None
// matches Z either, but each program has a hotkey on Ctrl+Shift+Z: for the program in front,
// each key event looks up the program's sections before those for all programs, and the hotkey
// step weighs the program's hotkeys of Z with the others.
inline std::string RuleFileWithProgramsForBench(std::string_view programInFront) {
  std::string text = RuleFileForBench();
  char line[96];
  for (int program = 0; program < kBenchPrograms; ++program) {
    std::string name(programInFront);
    if (program > 0) {
      std::snprintf(line, sizeof line, "bench-tool-%02d.exe", program);
      name = line;
    }
    const int remappings = kBenchRulesPerProgram / 2;
    text += "[KeyChange:" + name + "]\r\n";
    for (int i = 0; i < remappings; ++i) {
      std::snprintf(line, sizeof line, "%02x/%02x=%02x/%02x\r\n", 0x30 + i, 0x0b + program,
                    0x41 + (i + program) % 26, 0x10 + i);
      text += line;
    }
    text += "[Hotkey:" + name + "]\r\n";
    text += "5a/2c/1/0/1/0/0/0/0/0=1/" + name + "/\r\n";
    for (int i = 1; i < kBenchRulesPerProgram - remappings; ++i) {
      std::snprintf(line, sizeof line, "%02x/%02x/1/0/0/0/0/0/0/0=1/program%d-%d.exe/\r\n",
                    0x70 + i, 0x3b + program, program, i);
      text += line;
    }
  }
  return text;
}
