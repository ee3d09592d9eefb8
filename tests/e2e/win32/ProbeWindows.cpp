// Finding other programs' windows by title, reading their texts, pressing their buttons.
#include "tests/e2e/win32/ProbeWindows.h"

#include <cwchar>

#include "tests/e2e/win32/ProbeText.h"

std::wstring Title(HWND window) {
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  return title;
}

std::wstring ControlText(HWND control) {
  wchar_t text[512] = {};
  SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

namespace {

struct Search {
  std::wstring text;
  bool exact;
  bool dialogOnly;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  const std::wstring title = Title(window);
  const bool matches = search->exact ? title == search->text : title.rfind(search->text, 0) == 0;
  if (!matches) return TRUE;
  if (search->dialogOnly) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wcscmp(className, L"#32770") != 0) return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

HWND Find(const char* text, bool exact, bool dialogOnly, int waitMs) {
  if (text[0] == '=') {
    ++text;
    exact = true;
  }
  for (int waited = 0;; waited += 100) {
    Search search{Wide(text), exact, dialogOnly, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr || waited >= waitMs) return search.found;
    Sleep(100);
  }
}

void Press(HWND dialog, HWND button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}
