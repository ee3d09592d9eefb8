#pragma once

#include <string>

// The whole text of a profile (INI) file as the profile functions read it: in the ANSI code
// page. A file saved as UTF-16 or UTF-8 with a byte-order mark (an editor's "Unicode" save) is
// converted to it; any other file is taken byte for byte. Empty when it cannot be read.
std::string ReadProfileText(const char* file);
