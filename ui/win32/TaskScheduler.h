#pragma once

#include <string>

// The task scheduler's root folder through ITaskService, on a thread where COM runs. A task is
// registered from its XML definition, which is the one way that Wine's task scheduler takes too
// (it has no trigger or run-level objects).
namespace task_scheduler {

// "DOMAIN\name" of this process's user, as a task's UserId names it.
std::wstring UserAccount();
// Creates or replaces the task, to run with this user's interactive logon.
bool Register(const std::wstring& name, const std::wstring& xml);
bool Exists(const std::wstring& name);
bool Delete(const std::wstring& name);

}  // namespace task_scheduler
