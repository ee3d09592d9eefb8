#pragma once

#include <windows.h>

#include <vector>

#include "ui/PopupMenu.h"

// A shortcut menu at the mouse pointer for `owner`; the command chosen, 0 for none.
int ShowPopupMenuAtPointer(HWND owner, const std::vector<PopupMenuItem>& items);
