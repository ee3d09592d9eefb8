#pragma once

#include <windows.h>

#include <string>

// The program a top-level window belongs to, as the rules name programs: the executable file
// name of its process, without the folder, in UTF-16 (which holds every name on every code
// page). A store app's window is a child of the frame host's, owned by the app's own process;
// until it attaches, the frame host is all there is and the answer is not settled. An empty
// name: a process that cannot be asked.
struct ProgramFile {
  std::wstring name;
  bool settled = true;
};
ProgramFile ProgramFileOfWindow(HWND window);
