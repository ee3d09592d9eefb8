#pragma once

#include <string>
#include <vector>

// One item of a shortcut menu. Command 0 is a separator line; a greyed item cannot be chosen;
// the default item is drawn in bold, as the one a double click would choose.
struct PopupMenuItem {
  int command = 0;
  std::string text;
  bool enabled = true;
  bool isDefault = false;
};
