// Text between the UTF-8 of the test programs (the probe's arguments, the scenario scripts) and
// the UTF-16 of windows and file names, or the ANSI code page of the profile functions.
#pragma once

#include <string>

std::string Utf8(const std::wstring& text);
std::wstring Wide(const char* text);
// As a program writes the text with the "A" profile functions: in the ANSI code page.
std::string Ansi(const std::string& text);
