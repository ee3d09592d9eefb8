#include "sim/SimDialogHost.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/HostMessages.h"
#include "sim/EditBoxText.h"
#include "sim/SimFaults.h"

void SimDialogHost::Click(int id) {
  const bool key =
      (id == dialog_message::kIdOk || id == dialog_message::kIdCancel) && controls_.count(id) == 0;
  if (key ? windowEnabled_ : InputControl(id, "Click") != nullptr) {
    Command(id, dialog_message::kButtonClicked);
  }
}

void SimDialogHost::ChooseMenuItem(int id) {
  if (std::find(menuItems_.begin(), menuItems_.end(), id) == menuItems_.end()) {
    ReportSimFault("ChooseMenuItem(" + std::to_string(id) + "): dialog " +
                   std::to_string(dialog_.TemplateId()) + " has no menu item " +
                   std::to_string(id));
    return;
  }
  if (windowEnabled_) Command(id, 0);  // a menu's WM_COMMAND: code 0, no control
}

void SimDialogHost::DropFiles(int id, const std::vector<std::string>& files) {
  Control* target = InputControl(id, "DropFiles", ControlKind::Button);
  if (target == nullptr || !target->dropped || files.empty()) return;
  target->dropped = files.front();
  Command(id, dialog_message::kButtonClicked);
}

void SimDialogHost::ClickCheckBox(int id) {
  Control* box = InputControl(id, "ClickCheckBox", ControlKind::Button);
  if (box == nullptr) return;
  box->checked = !box->checked;
  Command(id, dialog_message::kButtonClicked);
}

void SimDialogHost::Type(int id, const std::string& text) {
  Control* box = InputControl(id, "Type", ControlKind::Edit);
  if (box == nullptr) return;
  box->text = FirstCharacters(AsWindowsShowsIt(text), box->limit);
  Command(id, dialog_message::kEditUpdate);
}

std::intptr_t SimDialogHost::Send(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  return dialog_.Dispatch(message, wParam, lParam).value_or(0);
}

void SimDialogHost::FireTimer(unsigned id) {
  if (timers_.count(id) != 0) dialog_.Dispatch(dialog_message::kTimer, id, 0);
}

void SimDialogHost::Pump() {
  while (!posted_.empty() && !ended_) {
    const LoopMessage message = posted_.front();
    posted_.pop_front();
    if (!dialog_.PreTranslateMessage(message)) {
      dialog_.Dispatch(message.message, message.wParam, message.lParam);
    }
  }
}

bool SimDialogHost::PressKey(std::uint32_t message, std::uint8_t virtualKey, std::uint8_t scanCode,
                             int focus) {
  // A disabled control cannot have the focus, so its keys never come. Focus 0: the dialog's
  // own window has it.
  if (focus == 0 ? !windowEnabled_ : InputControl(focus, "PressKey") == nullptr) return false;
  focus_ = focus;
  const LoopMessage loop{window_, message, virtualKey,
                         static_cast<std::intptr_t>(1 | (static_cast<unsigned>(scanCode) << 16))};
  return dialog_.PreTranslateMessage(loop);
}

void SimDialogHost::ClickLink(const std::string& target) {
  if (!windowEnabled_) return;
  char* copy = static_cast<char*>(std::malloc(target.size() + 1));
  std::memcpy(copy, target.c_str(), target.size() + 1);
  PostToSelf(host_message::kLinkClicked, 0, reinterpret_cast<std::intptr_t>(copy));
}

void SimDialogHost::Resize(int clientWidth, int clientHeight) {
  dialog_.Dispatch(dialog_message::kSize, 0,
                   static_cast<std::intptr_t>((clientHeight << 16) | (clientWidth & 0xFFFF)));
}

std::intptr_t SimDialogHost::Notify(int id, int code, int virtualKey) {
  if (InputControl(id, "Notify") == nullptr) return 0;
  return dialog_.DispatchNotify({id, code, virtualKey}).value_or(0);
}

void SimDialogHost::PickComboItem(int id, int index) {
  if (InputControl(id, "PickComboItem", ControlKind::ComboBox) == nullptr) return;
  ComboSelect(id, index);
  Command(id, dialog_message::kComboSelectionChanged);
  // A final choice follows, as when the user clicks an item or presses Enter in the list.
  Command(id, dialog_message::kComboSelectionDone);
}

void SimDialogHost::SelectRows(int id, const std::vector<int>& rows) {
  Control* list = InputControl(id, "SelectRows", ControlKind::ListView);
  if (list == nullptr) return;
  list->selected.clear();
  for (int row : rows) {
    if (FindRow(*list, row) != nullptr) list->selected.insert(row);
  }
  Notify(id, control_notification::kItemChanged);
}

void SimDialogHost::ClickListCell(int id, int row, int column) {
  Control* list = InputControl(id, "ClickListCell", ControlKind::ListView);
  if (list == nullptr || FindRow(*list, row) == nullptr) return;
  if (column != 0 && !list->wholeRows) return;
  list->selected = {row};
  Notify(id, control_notification::kItemChanged);
}

std::intptr_t SimDialogHost::DoubleClickListCell(int id, int row, int column) {
  ClickListCell(id, row, column);
  return Notify(id, control_notification::kDoubleClick);
}
