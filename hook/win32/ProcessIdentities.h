#pragma once

#include "hook/HookState.h"

// Processes as the library's owner claim names them: the id and 32 bits of the creation time,
// so that an identity fits the shared section's one word.
ProcessIdentity IdentityOfThisProcess();
// Whether the process still runs: a process with its id runs and was created at its time. Read
// from the system's list of processes, which names every process, also those of other users
// and elevated ones that this process may not open. When the list cannot be read, it counts as
// running: its hooks are better left alone.
bool IsStillRunning(const ProcessIdentity& process);
