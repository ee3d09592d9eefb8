// Text between the probe's UTF-8 and the UTF-16 of windows.
#pragma once

#include <string>

std::string Utf8(const std::wstring& text);
std::wstring Wide(const char* text);
