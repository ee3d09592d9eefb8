#pragma once

#include <string>

// A text as an edit box of a Unicode window holds it: each byte that starts no valid UTF-8
// sequence becomes U+FFFD.
std::string AsWindowsShowsIt(const std::string& text);
// The first `limit` characters of a UTF-8 text (all of it when `limit` is 0 or less): what a
// user can type into a box with that limit.
std::string FirstCharacters(const std::string& text, int limit);
