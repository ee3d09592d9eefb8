#pragma once

#include <windows.h>

// Replaces the address that `module` imports for `function` of `dll` with `replacement`;
// returns the original, or nullptr when the module does not import it. The driver uses it to
// watch the hook library's calls that Wine cannot show otherwise, in the order they happen.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);
