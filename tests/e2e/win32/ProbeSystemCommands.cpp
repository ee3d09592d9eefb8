// ui-probe's commands on what the main program takes from the system: the ANSI code page and
// paths in it, the profile functions, shortcut files.
#include <windows.h>
// clang-format off
#include <objidl.h>
#include <shlobj.h>
// clang-format on

#include <cstdio>

#include "tests/e2e/win32/ProbeCommands.h"
#include "tests/e2e/win32/ProbeText.h"
#include "ui/win32/AnsiPath.h"
#include "ui/win32/AnsiProfile.h"

namespace {

int MakeShortcut(const char* file, const char* target, const char* arguments) {
  CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return 1;
  }
  link->SetPath(Wide(target).c_str());
  link->SetArguments(Wide(arguments).c_str());
  IPersistFile* persist = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    saved = SUCCEEDED(persist->Save(Wide(file).c_str(), TRUE));
    persist->Release();
  }
  link->Release();
  return saved ? 0 : 1;
}

}  // namespace

std::optional<int> RunSystemCommand(const std::string& command, int argc, const char* const* argv) {
  if (command == "make-shortcut" && argc == 5) {
    return MakeShortcut(argv[2], argv[3], argv[4]);
  }
  if (command == "acp" && argc == 2) {
    std::printf("%u\n", GetACP());
    return 0;
  }
  if (command == "ansi-path" && argc == 3) {
    const auto path = AnsiCodePagePath(argv[2], MAX_PATH - 1);
    std::printf("%s\n", path ? path->c_str() : "none");
    return 0;
  }
  if (command == "write-profile" && argc == 6) {
    AnsiProfile profile;
    return profile.WriteString(argv[2], argv[3], argv[4], argv[5]) ? 0 : 1;
  }
  return std::nullopt;
}
