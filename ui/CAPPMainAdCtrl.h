#pragma once

#include "ui/DialogHost.h"

// The maker's banner area of the main window. Tastron shows no banner: the area stays empty.
class CAPPMainAdCtrl {
 public:
  void Create(DialogHost& host, int id) { host.SetText(id, ""); }
};
