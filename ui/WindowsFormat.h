#pragma once

#include <cstdarg>
#include <string>

// Formats like the Windows wvsprintfA: flags "-", "0" and "#", a width, a precision, the "l" and
// "h" size prefixes and the types c, C, d, i, u, x, X, s and S ("S" and "ls" take wide text);
// no floating point, no pointers, no "*". Anything else after "%" is copied as it stands. The
// result holds at most 1024 characters, as wvsprintfA's buffer does.
std::string FormatWindowsStyle(const char* format, std::va_list arguments);
