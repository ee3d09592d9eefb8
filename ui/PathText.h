#pragma once

#include <cstddef>
#include <string>

// A path shortened to at most `maxLength` characters by putting "..." for folders in its middle:
// the drive or first folder and the file name stay. A path that fits is returned as it is.
std::string ShortenPath(const std::string& path, std::size_t maxLength);
