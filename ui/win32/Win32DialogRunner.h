#pragma once

#include <windows.h>

#include "ui/CDialog.h"

// Runs dialogs from the program's resource templates as Unicode windows, with a modal loop of
// its own: each message goes to the dialog's PreTranslateMessage first, then to
// IsDialogMessageW, so key capture sees keys before the dialog manager does, and the loop keeps
// turning for the low-level hooks of this thread.
class Win32DialogRunner final : public DialogRunner {
 public:
  explicit Win32DialogRunner(HINSTANCE instance) : instance_(instance) {}
  int RunModal(CDialog& dialog, WindowHandle owner) override;

 private:
  HINSTANCE instance_;
};
