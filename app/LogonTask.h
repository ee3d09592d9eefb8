#pragma once

#include <string>

// The start at logon with the administrator's rights: a task of the task scheduler, the only
// start at logon that Windows runs elevated without asking for consent.
struct LogonTask {
  std::string userId;     // the user whose logon starts it ("DOMAIN\name"), and whose rights
  std::string program;    // the program's full path
  std::string arguments;  // its command line
};

inline constexpr const char* kLogonTaskName = "Tastron";

// The task's definition in the task scheduler's XML (version 1.2, Windows 7 on): that user's
// logon as its one trigger, the highest rights the user has, no time limit, and neither held
// back nor stopped on battery.
std::string LogonTaskXml(const LogonTask& task);
