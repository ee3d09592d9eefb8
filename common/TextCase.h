#pragma once

#include <string>
#include <string_view>

// ASCII case folding, as the profile functions and the key-name table compare names. Bytes
// outside ASCII (the ANSI code page's Korean characters) compare exactly.
char AsciiLower(char c);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
std::string ToAsciiLower(std::string_view text);

// Blanks, tabs and line-end characters at either end removed.
std::string_view TrimBlanks(std::string_view text);
