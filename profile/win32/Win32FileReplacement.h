#pragma once

#include <optional>
#include <string>

// Whole-file access for rewriting a profile file in one step, on ANSI-code-page file names as
// the profile functions take them.

// The file's bytes; empty for a file that does not exist; nullopt when it cannot be read.
std::optional<std::string> ReadFileToRewriteA(const std::string& file);

// Writes the bytes beside the file and moves them over it in one step. A link (symbolic link or
// junction on the way) is followed, so the link stays and its target is replaced. A read-only
// file is refused as Windows refuses to write it; nothing is left behind on any failure.
bool ReplaceFileContentsA(const std::string& file, const std::string& bytes);
