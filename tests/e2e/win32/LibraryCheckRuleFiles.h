// The rule files of the checks: written, stamped, in a folder of their own.
#pragma once

#include <windows.h>

#include <string>

void WriteFileBytes(const std::string& file, const std::string& bytes);
FILETIME AnHourAgo(int extraSeconds = 0);
void SetWriteTime(const std::string& file, const FILETIME& stamp);
// A folder of this process's in the temporary folder.
std::string RuleFolder();
// A rule file's text that remaps A to `target` ("VV/SS").
std::string RemapA(const char* target);
