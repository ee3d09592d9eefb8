#pragma once

#include "ui/DialogHost.h"

// The start at logon, with the "startup" argument (so that the program hides itself into the
// tray after a moment): the Run value of the current user, or, "관리자 권한으로", a task of the
// task scheduler that starts it with the administrator's rights. Never both.
namespace autostart {

enum class Start { None, RunValue, AdministratorTask };

// How Tastron starts at logon now.
Start Registered();
// The two boxes as the system has it: "윈도우 시작시 자동실행" for either kind, "관리자
// 권한으로" for the task and usable only while Tastron starts at logon.
void Show(DialogHost& host);
// A click on either box. What the system refuses (a task of the highest rights takes an
// elevated Tastron) is told, and leaves the start at logon as it was.
void ToggleStart(DialogHost& host);
void ToggleAsAdministrator(DialogHost& host);

}  // namespace autostart
