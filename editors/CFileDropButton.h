#pragma once

#include <string>

#include "ui/DialogHost.h"

// The big button of the rule editors onto which the user drags a program or a shortcut from
// the desktop or a folder. The window takes only drops (no click, no key); a drop arrives as
// the button's ordinary click, on which the dialog calls TakeDrop and reads the program to run:
// the file itself, or the path and arguments stored in a shortcut (".lnk", any case).
class CFileDropButton {
 public:
  // Binds the control and makes it a drop target.
  void Attach(DialogHost& host, int id);
  // Reads the file of a drop; false when no drop came since the last one was taken (a click
  // that reached the button some other way). A shortcut that no link object could read leaves
  // both strings as they were.
  bool TakeDrop();

  const std::string& TargetPath() const { return targetPath_; }
  const std::string& Arguments() const { return arguments_; }

 private:
  DialogHost* host_ = nullptr;
  int id_ = 0;
  std::string targetPath_;
  std::string arguments_;
};
