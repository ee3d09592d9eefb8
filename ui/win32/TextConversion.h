#pragma once

#include <optional>
#include <string>
#include <string_view>

// The program keeps UTF-8 inside; Windows gets UTF-16 for the user interface and the ANSI code
// page for the profile functions, as the stored files expect.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::string Utf8ToAnsi(std::string_view text);
std::string AnsiToUtf8(std::string_view text);

// The text in the ANSI code page, or nullopt when a character has no place there. Best-fit
// mapping is off: "ā" as "a" would name another file or run another program, which is worse
// than refusing.
std::optional<std::string> WideToAnsiExactly(std::wstring_view text);
std::optional<std::string> Utf8ToAnsiExactly(std::string_view text);
