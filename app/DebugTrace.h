#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>

// The main program's diagnostic lines on the debugger output: the executable's file name, then
// "name>PID:TID::" (eight upper-case hexadecimal digits each) and the message formatted with the
// wvsprintfA rules. Carriage returns become blanks, line feeds become ",", one line feed ends
// the line, and the line fits a 2048-byte buffer.
void DebugTrace(const char* format, ...);

std::string FormatDebugTraceLine(const std::string& executableName, std::uint32_t processId,
                                 std::uint32_t threadId, const char* format,
                                 std::va_list arguments);
