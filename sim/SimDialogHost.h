#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sim/DialogTemplates.h"
#include "ui/CDialog.h"

// A dialog window for tests: it has the controls of its template and keeps each one's state,
// and lets the test click, type, press keys, fire timers, resize the window and deliver what
// the dialog posted to itself. A call on an id the template lacks, from the test or from the
// dialog, is a fault (GetDlgItem finds no window for it): it is reported and does nothing, and
// reads give what Windows gives for no window (empty, 0, false). So is a call meant for another
// kind of control (a list's on a button, a check on an edit box): Windows ignores it. The member
// functions live by part: SimDialogHost (the control store), SimDialogHostGestures (what the
// user does) and SimDialogHostLists (the list and combo model).
class SimDialogHost final : public DialogHost {
 public:
  SimDialogHost(CDialog& dialog, WindowHandle window, const DialogTemplate& controls);

  // What a test does. Enter and Escape send IDOK and IDCANCEL to any dialog, so clicks on them
  // arrive even where the template has no such button. A disabled window (the owner of a running
  // dialog) takes no clicks, typing, key presses or notifications, as on Windows, and neither does
  // a disabled control; messages sent to it still arrive. A click on a file drop target reaches the
  // dialog as any button's would: that it takes no mouse input on Windows is the Windows side's
  // job.
  void Click(int id);
  // The user chooses an item of the dialog's menu (a command id its menu has).
  void ChooseMenuItem(int id);
  // Files dropped onto control `id`: a drop target keeps the first and reports a click; no
  // file, or a control that takes no drops, does nothing.
  void DropFiles(int id, const std::vector<std::string>& files);
  // An auto check box: Windows flips its check state, then reports the click.
  void ClickCheckBox(int id);
  // Sets the text, no more characters than the box's limit, then EN_UPDATE.
  void Type(int id, const std::string& text);
  std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  void FireTimer(unsigned id);  // only a running timer fires
  void Pump();                  // delivers what the dialog posted to itself
  // A key message through the loop, the control `focus` (0: none) having the focus:
  // PreTranslateMessage first. True when the dialog took it.
  bool PressKey(std::uint32_t message, std::uint8_t virtualKey, std::uint8_t scanCode, int focus);
  void Resize(int clientWidth, int clientHeight);
  // A control's WM_NOTIFY: a double click in a list, a key pressed in it. The result, or 0.
  std::intptr_t Notify(int id, int code, int virtualKey = 0);
  // The user picks an item of a drop-down list: the selection changes, then CBN_SELCHANGE.
  void PickComboItem(int id, int index);
  // The user selects exactly these rows of a list.
  void SelectRows(int id, const std::vector<int>& rows);
  void EnableWindow(bool enabled) { windowEnabled_ = enabled; }
  bool IsWindowEnabled() const override { return windowEnabled_; }
  void PlaceControl(int id, const DialogRect& rect);

  bool Ended() const { return ended_; }
  int Result() const { return result_; }
  bool TimerRunning(unsigned id) const { return timers_.count(id) != 0; }
  unsigned TimerPeriod(unsigned id) const { return timers_.at(id); }
  int ShowState() const { return showState_; }
  int Icon() const { return icon_; }
  int FocusedControl() const override { return focus_; }
  // A control's window: the dialog's handle with the control id in its low 16 bits.
  WindowHandle ControlWindow(int id) const override;
  bool Centered() const { return centered_; }

  // DialogHost.
  WindowHandle Window() const override { return window_; }
  std::string Title() const override { return title_; }
  void SetTitle(const std::string& title) override { title_ = title; }
  std::string Text(int id) const override;
  // Setting an edit box's text raises its update notification, as on Windows. Bytes that are
  // no UTF-8 come back as U+FFFD, as the conversion to the window's UTF-16 turns them.
  void SetText(int id, const std::string& text) override;
  void LimitText(int id, int characters) override;
  int TextLimit(int id) const;
  // Whether a click on a list's second column selects its row (full-row selection).
  bool SelectsWholeRows(int id) const;
  void ListSelectWholeRows(int id) override;
  // The user clicks into a list's cell: in the first column, or anywhere with full-row
  // selection, that row alone is selected; elsewhere the selection stays as it was. A double
  // click then reports NM_DBLCLK.
  void ClickListCell(int id, int row, int column);
  std::intptr_t DoubleClickListCell(int id, int row, int column);
  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override;
  bool IsEnabled(int id) const override;
  void Enable(int id, bool enabled) override;
  void ShowControl(int id, bool shown) override;
  bool IsControlShown(int id) const override;
  void SetFocus(int id) override;
  void UseMarkup(int id, const MarkupStyle& style) override;
  void MakeFileDropTarget(int id) override;
  std::string TakeDroppedFile(int id) override;
  // The style of a markup text, or nullptr for a plain one.
  const MarkupStyle* Markup(int id) const;
  // The user clicks a link of a markup text: its target travels as a heap copy.
  void ClickLink(const std::string& target);
  void Show(int command) override { showState_ = command; }
  bool IsVisible() const override { return showState_ != show_state::kHide; }
  void CenterOnScreen() override { centered_ = true; }
  void SetIcon(int iconResource) override { icon_ = iconResource; }
  void PostToSelf(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    posted_.push_back({window_, message, wParam, lParam});
  }
  void End(int result) override {
    ended_ = true;
    result_ = result;
  }
  void ListAddColumn(int id, const std::string& title, int width) override;
  int ListInsertRow(int id, int row, const std::string& firstCell) override;
  void ListSetCell(int id, int row, int column, const std::string& text) override;
  std::string ListCell(int id, int row, int column) const override;
  void ListDeleteRow(int id, int row) override;
  int ListRowCount(int id) const override;
  void ListSetRowData(int id, int row, std::intptr_t data) override;
  std::intptr_t ListRowData(int id, int row) const override;
  int ListNextSelectedRow(int id, int after) const override;
  void ListSelectRow(int id, int row) override;
  void ListFitColumn(int id, int column) override;
  void ComboClear(int id) override;
  int ComboAddItem(int id, const std::string& text) override;
  int ComboItemCount(int id) const override;
  std::string ComboItem(int id, int index) const override;
  int ComboSelection(int id) const override;
  void ComboSelect(int id, int index) override;
  // The column headings and widths of a list.
  std::vector<std::pair<std::string, int>> ListColumns(int id) const;

  DialogRect ControlRect(int id) const override;
  void MoveControl(int id, const DialogRect& rect) override;
  void SetTimer(unsigned id, unsigned milliseconds) override { timers_[id] = milliseconds; }
  void KillTimer(unsigned id) override { timers_.erase(id); }

 private:
  struct Row {
    std::vector<std::string> cells;
    std::intptr_t data = 0;
  };
  struct Control {
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool shown = true;
    DialogRect rect;
    std::vector<std::pair<std::string, int>> columns;
    std::vector<Row> rows;
    std::set<int> selected;
    std::vector<std::string> items;
    int comboSelection = -1;
    int limit = 0;  // characters a user can type; 0: no limit
    bool wholeRows = false;
    ControlKind kind = ControlKind::Other;
    std::optional<MarkupStyle> markup;
    std::optional<std::string> dropped;  // a drop target's last drop, once made one
  };
  // The control `id`, or nullptr after reporting that the template lacks it or has it of
  // another kind than `kind` (`call` says what wanted it).
  Control* Require(int id, const char* call, std::optional<ControlKind> kind = {}) const;
  Row* FindRow(Control& control, int row) const;
  bool TakesInput(const Control& control) const;
  // The control of a user's gesture that takes input now, or nullptr.
  Control* InputControl(int id, const char* gesture, std::optional<ControlKind> kind = {});
  void Command(int id, int code);

  CDialog& dialog_;
  WindowHandle window_;
  std::vector<int> menuItems_;
  std::string title_;
  mutable std::map<int, Control> controls_;  // those of the template, by id
  std::map<unsigned, unsigned> timers_;
  std::deque<LoopMessage> posted_;
  int showState_ = show_state::kHide;
  int icon_ = 0;
  int focus_ = 0;
  bool centered_ = false;
  bool windowEnabled_ = true;
  bool ended_ = false;
  int result_ = 0;
};
