#pragma once

#include <cstdio>
#include <string>

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
