#pragma once

#include <cstdint>
#include <string>

#include "common/Handles.h"
#include "ui/TimerHost.h"

struct DialogRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const DialogRect&, const DialogRect&) = default;
};

// How a static text with markup shows: the colour of its links, its background (none: the
// dialog's) and the margin around the text, in pixels at 96 DPI (scaled at higher DPIs).
// Colours are 0x00BBGGRR.
struct MarkupStyle {
  std::uint32_t highlight = 0x00FF0000;  // blue
  bool hasBackground = false;
  std::uint32_t background = 0;
  int margin = 0;
  friend bool operator==(const MarkupStyle&, const MarkupStyle&) = default;
};

// A live dialog window, addressed by control id. The Windows host works on a real dialog made
// from a resource template; the simulated host keeps the same state for tests. Texts are UTF-8.
class DialogHost : public TimerHost {
 public:
  virtual WindowHandle Window() const = 0;

  virtual std::string Title() const = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual std::string Text(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  virtual bool IsChecked(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void Enable(int id, bool enabled) = 0;
  // A control that only some uses of a dialog need is hidden in the others.
  virtual void ShowControl(int id, bool shown) = 0;
  virtual bool IsControlShown(int id) const = 0;
  virtual void SetFocus(int id) = 0;
  // The control of this dialog that has the keyboard focus, or 0 when the focus is elsewhere.
  virtual int FocusedControl() const = 0;
  // The window of control `id`: what a message names the control by (a key field in wParam).
  virtual WindowHandle ControlWindow(int id) const = 0;
  // The most characters the user can type into edit `id` (EM_LIMITTEXT); texts that the
  // program sets are not cut. A host without a keyboard of its own may leave it out.
  virtual void LimitText(int id, int characters) {
    (void)id;
    (void)characters;
  }
  // The static text `id` shows its text as markup (static texts whose template text holds
  // markup do so from the start); a click on a link posts 0x7F0E to the dialog.
  virtual void UseMarkup(int id, const MarkupStyle& style) = 0;
  // The button `id` takes files dropped onto it and no mouse or keyboard input; a drop is
  // reported to the dialog as the button's click. TakeDroppedFile gives the first file of the
  // button's last drop and forgets it: empty when no drop came since it was last taken.
  virtual void MakeFileDropTarget(int id) = 0;
  virtual std::string TakeDroppedFile(int id) = 0;

  // ShowWindow with SW_HIDE (0), SW_SHOW (5), SW_RESTORE (9), ...
  virtual void Show(int command) = 0;
  virtual bool IsVisible() const = 0;
  // False while a modal window of its own (a dialog, a message box) runs over it.
  virtual bool IsWindowEnabled() const = 0;
  virtual void CenterOnScreen() = 0;
  // The icon resource for the window's big and small icon.
  virtual void SetIcon(int iconResource) = 0;

  virtual void PostToSelf(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Ends the modal loop with this result once the current message is handled.
  virtual void End(int result) = 0;

  // List views in report style, addressed by control id; rows and columns count from 0.
  virtual void ListAddColumn(int id, const std::string& title, int width) = 0;
  // Inserts a row at `row` (the end when beyond it); returns where it went.
  virtual int ListInsertRow(int id, int row, const std::string& firstCell) = 0;
  virtual void ListSetCell(int id, int row, int column, const std::string& text) = 0;
  virtual std::string ListCell(int id, int row, int column) const = 0;
  virtual void ListDeleteRow(int id, int row) = 0;
  virtual int ListRowCount(int id) const = 0;
  virtual void ListSetRowData(int id, int row, std::intptr_t data) = 0;
  virtual std::intptr_t ListRowData(int id, int row) const = 0;
  // The first selected row, or -1.
  int ListSelectedRow(int id) const { return ListNextSelectedRow(id, -1); }
  // The first selected row after `after` (-1: from the start), or -1. Lists may select several.
  virtual int ListNextSelectedRow(int id, int after) const = 0;
  // Adds the row to the selection and gives it the focus mark.
  virtual void ListSelectRow(int id, int row) = 0;
  // Sizes the column to the wider of its heading and its cells.
  virtual void ListFitColumn(int id, int column) = 0;
  // A click anywhere in a row selects it, not only on its first column's text.
  virtual void ListSelectWholeRows(int id) = 0;

  // Drop-down lists (combo boxes), addressed by control id; items count from 0.
  virtual void ComboClear(int id) = 0;
  // Appends an item; returns its index.
  virtual int ComboAddItem(int id, const std::string& text) = 0;
  virtual int ComboItemCount(int id) const = 0;
  virtual std::string ComboItem(int id, int index) const = 0;
  // The selected item, or -1.
  virtual int ComboSelection(int id) const = 0;
  // Selects item `index` (-1: none), as the program does: no notification follows.
  virtual void ComboSelect(int id, int index) = 0;

  // Geometry in client coordinates, for the anchoring of CResizeDlg.
  virtual DialogRect ControlRect(int id) const = 0;
  virtual void MoveControl(int id, const DialogRect& rect) = 0;
};

// Show states and window messages the dialogs use.
namespace show_state {
inline constexpr int kHide = 0;
inline constexpr int kShow = 5;
inline constexpr int kRestore = 9;
}  // namespace show_state

namespace dialog_message {
inline constexpr std::uint32_t kDestroy = 0x0002;
inline constexpr std::uint32_t kSize = 0x0005;
inline constexpr std::uint32_t kClose = 0x0010;
inline constexpr std::uint32_t kCommand = 0x0111;
inline constexpr std::uint32_t kTimer = 0x0113;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kButtonClicked = 0;          // BN_CLICKED
inline constexpr int kEditUpdate = 0x0400;        // EN_UPDATE
inline constexpr int kEditKillFocus = 0x0200;     // EN_KILLFOCUS
inline constexpr int kComboSelectionChanged = 1;  // CBN_SELCHANGE
inline constexpr int kComboSelectionDone = 9;     // CBN_SELENDOK
inline constexpr int kComboEditChanged = 5;       // CBN_EDITCHANGE
}  // namespace dialog_message

// Notifications that controls send with WM_NOTIFY, as a message map sees them.
namespace control_notification {
inline constexpr int kDoubleClick = -3;    // NM_DBLCLK
inline constexpr int kItemChanged = -101;  // LVN_ITEMCHANGED: a row's selection changed
inline constexpr int kListKeyDown = -155;  // LVN_KEYDOWN
}  // namespace control_notification

// One WM_NOTIFY: the control, its code and, for a key pressed in a list, the virtual key.
struct ControlNotification {
  int id = 0;
  int code = 0;
  int virtualKey = 0;
};
