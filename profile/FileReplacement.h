#pragma once

#include <optional>
#include <string>

// Whole-file access for rewriting a file in one step (the portable engine's; Windows builds
// have their own beside the real profile functions).

// The file's bytes; empty for a file that does not exist; nullopt when it exists but cannot
// be read, which must never be taken for an empty file.
std::optional<std::string> ReadFileToRewrite(const std::string& path);

// Replaces the file's contents in one step: written beside it and renamed over it, so that it
// holds either the old bytes or the new ones. A link is followed: its target is replaced and
// the link stays. A read-only file is refused, and nothing is left behind on any failure.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);
