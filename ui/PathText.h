#pragma once

#include <cstddef>
#include <string>

// A path (UTF-8) shortened to at most `maxLength` characters, not bytes, by putting "..." for
// folders in its middle: the drive or first folder and the file name stay, and no character is
// ever cut in two. A path that fits is returned as it is.
std::string ShortenPath(const std::string& path, std::size_t maxLength);
