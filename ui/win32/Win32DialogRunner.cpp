#include "ui/win32/Win32DialogRunner.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/HtmlMarkup.h"
#include "ui/win32/DialogColours.h"
#include "ui/win32/FileDropTarget.h"
#include "ui/win32/MarkupStatic.h"
#include "ui/win32/TextConversion.h"
#include "ui/win32/WindowDpi.h"

namespace {

// One running dialog: its window, seen through the DialogHost interface.
class Win32DialogHost final : public DialogHost {
 public:
  Win32DialogHost(CDialog& dialog, HINSTANCE instance) : dialog_(dialog), instance_(instance) {}

  CDialog& Dialog() { return dialog_; }
  void SetWindow(HWND window) { window_ = window; }
  bool Ended() const { return ended_; }
  int Result() const { return result_; }

  WindowHandle Window() const override { return reinterpret_cast<WindowHandle>(window_); }
  std::string Title() const override {
    wchar_t title[512] = {};
    GetWindowTextW(window_, title, 512);
    return WideToUtf8(title);
  }
  void SetTitle(const std::string& title) override {
    SetWindowTextW(window_, Utf8ToWide(title).c_str());
  }
  std::string Text(int id) const override {
    const HWND control = GetDlgItem(window_, id);
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return WideToUtf8(text);
  }
  void SetText(int id, const std::string& text) override {
    SetDlgItemTextW(window_, id, Utf8ToWide(text).c_str());
  }
  bool IsChecked(int id) const override { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
  void SetChecked(int id, bool checked) override {
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
  }
  bool IsEnabled(int id) const override {
    return ::IsWindowEnabled(GetDlgItem(window_, id)) != FALSE;
  }
  void Enable(int id, bool enabled) override { EnableWindow(GetDlgItem(window_, id), enabled); }
  void ShowControl(int id, bool shown) override {
    ShowWindow(GetDlgItem(window_, id), shown ? SW_SHOW : SW_HIDE);
  }
  bool IsControlShown(int id) const override {
    return IsWindowVisible(GetDlgItem(window_, id)) != FALSE;
  }
  void SetFocus(int id) override { ::SetFocus(GetDlgItem(window_, id)); }
  int FocusedControl() const override {
    const HWND focus = GetFocus();
    return focus != nullptr && IsChild(window_, focus) ? GetDlgCtrlID(focus) : 0;
  }
  WindowHandle ControlWindow(int id) const override {
    return reinterpret_cast<WindowHandle>(GetDlgItem(window_, id));
  }
  void LimitText(int id, int characters) override {
    SendDlgItemMessageW(window_, id, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
  }
  void UseMarkup(int id, const MarkupStyle& style) override {
    MakeMarkupStatic(GetDlgItem(window_, id), style);
  }
  void MakeFileDropTarget(int id) override { ::MakeFileDropTarget(GetDlgItem(window_, id)); }
  std::string TakeDroppedFile(int id) override {
    return ::TakeDroppedFile(GetDlgItem(window_, id));
  }
  void Show(int command) override { ShowWindow(window_, command); }
  bool IsVisible() const override { return IsWindowVisible(window_) != FALSE; }
  bool IsWindowEnabled() const override { return ::IsWindowEnabled(window_) != FALSE; }
  void CenterOnScreen() override {
    RECT area{};
    GetWindowRect(window_, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The window's big icon, for painting it while the window is minimised.
  HICON BigIcon() const { return big_; }

  void SetIcon(int iconResource) override {
    iconResource_ = iconResource;
    LoadIcons();
  }
  // The icons at the window's DPI: again when the window moves to a monitor of another DPI.
  void LoadIcons() {
    if (iconResource_ == 0) return;
    const UINT dpi = DpiOfWindow(window_);
    const auto load = [&](int width, int height) {
      return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(iconResource_), IMAGE_ICON,
                                           SystemMetricAt(width, dpi), SystemMetricAt(height, dpi),
                                           0));
    };
    const HICON big = load(SM_CXICON, SM_CYICON);
    const HICON small = load(SM_CXSMICON, SM_CYSMICON);
    big_ = big;
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
  void PostToSelf(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    PostMessageW(window_, message, wParam, lParam);
  }
  void End(int result) override {
    ended_ = true;
    result_ = result;
  }
  void ListSelectWholeRows(int id) override {
    ListView_SetExtendedListViewStyleEx(GetDlgItem(window_, id), LVS_EX_FULLROWSELECT,
                                        LVS_EX_FULLROWSELECT);
  }
  void ListAddColumn(int id, const std::string& title, int width) override {
    const HWND list = GetDlgItem(window_, id);
    std::wstring text = Utf8ToWide(title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text.data();
    column.cx = width;
    const int count = Header_GetItemCount(ListView_GetHeader(list));
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(count),
                 reinterpret_cast<LPARAM>(&column));
  }
  int ListInsertRow(int id, int row, const std::string& firstCell) override {
    std::wstring text = Utf8ToWide(firstCell);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row < 0 ? ListRowCount(id) : row;
    item.pszText = text.data();
    return static_cast<int>(
        SendMessageW(GetDlgItem(window_, id), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }
  void ListSetCell(int id, int row, int column, const std::string& text) override {
    std::wstring wide = Utf8ToWide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(GetDlgItem(window_, id), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
  }
  std::string ListCell(int id, int row, int column) const override {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1024;
    SendMessageW(GetDlgItem(window_, id), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return WideToUtf8(text);
  }
  void ListDeleteRow(int id, int row) override {
    SendMessageW(GetDlgItem(window_, id), LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
  }
  int ListRowCount(int id) const override {
    return static_cast<int>(SendMessageW(GetDlgItem(window_, id), LVM_GETITEMCOUNT, 0, 0));
  }
  void ListSetRowData(int id, int row, std::intptr_t data) override {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    SendMessageW(GetDlgItem(window_, id), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  std::intptr_t ListRowData(int id, int row) const override {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(GetDlgItem(window_, id), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
  }
  int ListNextSelectedRow(int id, int after) const override {
    return static_cast<int>(SendMessageW(GetDlgItem(window_, id), LVM_GETNEXTITEM,
                                         static_cast<WPARAM>(after), LVNI_SELECTED));
  }
  void ListSelectRow(int id, int row) override {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(GetDlgItem(window_, id), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
  }
  void ListFitColumn(int id, int column) override {
    SendMessageW(GetDlgItem(window_, id), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 LVSCW_AUTOSIZE_USEHEADER);
  }

  void ComboClear(int id) override { SendDlgItemMessageW(window_, id, CB_RESETCONTENT, 0, 0); }
  int ComboAddItem(int id, const std::string& text) override {
    const std::wstring wide = Utf8ToWide(text);
    return static_cast<int>(
        SendDlgItemMessageW(window_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
  }
  int ComboItemCount(int id) const override {
    return static_cast<int>(SendDlgItemMessageW(window_, id, CB_GETCOUNT, 0, 0));
  }
  std::string ComboItem(int id, int index) const override {
    const LRESULT length = SendDlgItemMessageW(window_, id, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendDlgItemMessageW(window_, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return WideToUtf8(text);
  }
  int ComboSelection(int id) const override {
    const LRESULT selection = SendDlgItemMessageW(window_, id, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? -1 : static_cast<int>(selection);
  }
  void ComboSelect(int id, int index) override {
    SendDlgItemMessageW(window_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }

  DialogRect ControlRect(int id) const override {
    RECT area{};
    const HWND control = GetDlgItem(window_, id);
    GetWindowRect(control, &area);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&area), 2);
    return {area.left, area.top, area.right, area.bottom};
  }
  void MoveControl(int id, const DialogRect& rect) override {
    MoveWindow(GetDlgItem(window_, id), rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
  }
  void SetTimer(unsigned id, unsigned milliseconds) override {
    ::SetTimer(window_, id, milliseconds, nullptr);
  }
  void KillTimer(unsigned id) override { ::KillTimer(window_, id); }

 private:
  CDialog& dialog_;
  HINSTANCE instance_;
  HWND window_ = nullptr;
  HICON big_ = nullptr;
  int iconResource_ = 0;
  bool ended_ = false;
  int result_ = 0;
};

// Static texts of the template that hold markup show it formatted from the start.
BOOL CALLBACK MarkMarkupStatics(HWND child, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(child, className, 16);
  if (_wcsicmp(className, L"Static") != 0) return TRUE;
  const int length = GetWindowTextLengthW(child);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(child, text.data(), length + 1);
  if (HasMarkup(WideToUtf8(text.c_str()))) MakeMarkupStatic(child, MarkupStyle{});
  return TRUE;
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    EnumChildWindows(window, MarkMarkupStatics, 0);
    auto* host = reinterpret_cast<Win32DialogHost*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    host->SetWindow(window);
    host->Dialog().Attach(*host);
    RECT client{};
    GetClientRect(window, &client);
    return host->Dialog().InitDialog(client.right, client.bottom) ? TRUE : FALSE;
  }
  auto* host = reinterpret_cast<Win32DialogHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (host == nullptr) return FALSE;
  switch (message) {
    case WM_PAINT:
      // A minimised dialog shows its icon in the middle of its client area.
      if (IsIconic(window) && host->BigIcon() != nullptr) {
        PAINTSTRUCT paint;
        HDC context = BeginPaint(window, &paint);
        SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
        RECT client{};
        GetClientRect(window, &client);
        const UINT dpi = DpiOfWindow(window);
        DrawIcon(context, (client.right - SystemMetricAt(SM_CXICON, dpi) + 1) / 2,
                 (client.bottom - SystemMetricAt(SM_CYICON, dpi) + 1) / 2, host->BigIcon());
        EndPaint(window, &paint);
        return TRUE;
      }
      break;
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: the window takes the size Windows suggests (with
      // per-monitor awareness v2 the dialog manager has already rescaled the font and the
      // controls), the icons and markup texts are made anew for the new DPI.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      host->LoadIcons();
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return FALSE;  // and the dialog manager's own handling
    }
    case WM_QUERYDRAGICON:
      if (host->BigIcon() != nullptr) return reinterpret_cast<INT_PTR>(host->BigIcon());
      break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = ApplyDialogColours(reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<INT_PTR>(brush);
      }
      return FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      ControlNotification notification{static_cast<int>(header->idFrom),
                                       static_cast<int>(header->code), 0};
      if (header->code == LVN_KEYDOWN) {
        notification.virtualKey = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
      }
      if (const auto result = host->Dialog().DispatchNotify(notification)) {
        SetWindowLongPtrW(window, DWLP_MSGRESULT, static_cast<LONG_PTR>(*result));
        return TRUE;
      }
      return FALSE;
    }
    default:
      break;
  }
  if (const auto result = host->Dialog().Dispatch(message, wParam, lParam)) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, static_cast<LONG_PTR>(*result));
    return TRUE;
  }
  if (message == WM_CLOSE) {
    // As the dialog manager does: closing the window is Cancel.
    host->Dialog().Dispatch(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
  }
  return FALSE;
}

// As Windows programs open a dialog: in the middle of the window it belongs to, moved inside
// the work area of that window's monitor where it would stick out.
void CenterOnOwner(HWND window, HWND owner) {
  RECT ownerArea{};
  RECT area{};
  if (!GetWindowRect(owner, &ownerArea) || !GetWindowRect(window, &area)) return;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  int x = ownerArea.left + (ownerArea.right - ownerArea.left - width) / 2;
  int y = ownerArea.top + (ownerArea.bottom - ownerArea.top - height) / 2;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
  }
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int Win32DialogRunner::RunModal(CDialog& dialog, WindowHandle owner) {
  Win32DialogHost host(dialog, instance_);
  const HWND ownerWindow = reinterpret_cast<HWND>(owner);
  const HWND window =
      CreateDialogParamW(instance_, MAKEINTRESOURCEW(dialog.TemplateId()), ownerWindow,
                         DialogProcedure, reinterpret_cast<LPARAM>(&host));
  if (window == nullptr) {
    dialog.Detach();
    return -1;
  }
  const Running running(*this, reinterpret_cast<WindowHandle>(window));
  // As a modal owner is: the window behind cannot open another dialog meanwhile.
  const bool disabledOwner = ownerWindow != nullptr && EnableWindow(ownerWindow, FALSE) == FALSE;
  // As a modal dialog shows itself: unless its initialisation already showed or ended it.
  if (!host.Ended() && !IsWindowVisible(window)) {
    if (ownerWindow != nullptr) CenterOnOwner(window, ownerWindow);
    ShowWindow(window, SW_SHOWNORMAL);
  }
  MSG message;
  while (!host.Ended()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop above this one
      break;
    }
    if (got == -1) break;
    const LoopMessage seen{reinterpret_cast<WindowHandle>(message.hwnd), message.message,
                           message.wParam, message.lParam};
    if (dialog.PreTranslateMessage(seen)) continue;
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (disabledOwner) EnableWindow(ownerWindow, TRUE);
  if (ownerWindow != nullptr) SetActiveWindow(ownerWindow);
  DestroyWindow(window);
  dialog.Detach();
  return host.Result();
}
