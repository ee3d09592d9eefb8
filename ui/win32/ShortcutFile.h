#pragma once

#include <optional>
#include <string>

#include "ui/Services.h"

// The program path and arguments stored in a shortcut file, read through the shell link
// object (IShellLinkA with IPersistFile); COM must be initialised on the calling thread.
std::optional<ShortcutTarget> ReadShortcutFile(const std::string& path);
