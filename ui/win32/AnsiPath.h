#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Paths for consumers of the ANSI code page (char* exports, the *A functions): the UTF-8 path
// in the code page's bytes when every character has its place there, else its short form
// (GetShortPathNameW; for a file that does not exist yet, the short form of its folder with
// the name appended), else nullopt. Longer than `maxBytes` counts as not representable.
std::optional<std::string> AnsiCodePagePath(const std::string& path, std::size_t maxBytes);

// A file name for the program's own profile calls: the path the hook library is handed for the
// same file (above), so that both open the same file; without one, the path with "?" for what
// has no place in the code page, which names no file at all rather than a best-fit other one.
std::string AnsiFileName(const std::string& path);
