#include "ui/win32/ShortcutFile.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <windows.h>

#include "ui/win32/TextConversion.h"

std::optional<ShortcutTarget> ReadShortcutFile(const std::string& path) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return std::nullopt;
  }
  ShortcutTarget target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    // A shortcut that cannot be loaded reads as whatever the empty link object holds.
    file->Load(Utf8ToWide(path).c_str(), STGM_READ);
    char text[MAX_PATH + 1] = {};
    if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) target.path = AnsiToUtf8(text);
    text[0] = '\0';
    if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) target.arguments = AnsiToUtf8(text);
    file->Release();
  }
  link->Release();
  return target;
}
