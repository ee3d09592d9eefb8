#include "ui/win32/PopupMenuAtPointer.h"

#include "ui/win32/TextConversion.h"

int ShowPopupMenuAtPointer(HWND owner, const std::vector<PopupMenuItem>& items) {
  const HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return 0;
  for (const PopupMenuItem& item : items) {
    if (item.command == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuW(menu, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                static_cast<UINT_PTR>(item.command), Utf8ToWide(item.text).c_str());
    if (item.isDefault) SetMenuDefaultItem(menu, static_cast<UINT>(item.command), FALSE);
  }
  POINT at{};
  GetCursorPos(&at);
  // A menu of a notification icon closes on a click elsewhere only while its owner is the
  // foreground window, and the message after it lets the menu's end take effect at once (both
  // as the shell's documentation of TrackPopupMenu asks).
  SetForegroundWindow(owner);
  const UINT alignment =
      GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0 ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
  const int chosen = static_cast<int>(TrackPopupMenuEx(
      menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN | alignment, at.x,
      at.y, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  return chosen;
}
