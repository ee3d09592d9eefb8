#pragma once

// The start at logon: the Run value of the current user, which starts the program with the
// "startup" argument (so that it hides itself into the tray after a moment).
namespace autostart {

bool IsRegistered();
void Register();
void Unregister();

}  // namespace autostart
