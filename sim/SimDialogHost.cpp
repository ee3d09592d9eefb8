#include "sim/SimDialogHost.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "common/HostMessages.h"
#include "sim/SimFaults.h"

namespace {

std::uintptr_t CommandParameter(int id, int code) {
  return static_cast<std::uintptr_t>((static_cast<unsigned>(code) << 16) |
                                     (static_cast<unsigned>(id) & 0xFFFF));
}

// Each byte that starts no valid UTF-8 sequence becomes U+FFFD.
std::string AsWindowsShowsIt(const std::string& text) {
  std::string shown;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80    ? 1
                               : lead >= 0xF0 ? 4
                               : lead >= 0xE0 ? 3
                               : lead >= 0xC2 ? 2
                                              : 0;
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    }
    if (!valid) {
      shown += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    shown.append(text, i, length);
    i += length;
  }
  return shown;
}

std::string FirstCharacters(const std::string& text, int limit) {
  if (limit <= 0) return text;
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == limit) {
      return text.substr(0, i);
    }
  }
  return text;
}

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Edit:
      return "edit box";
    case ControlKind::Button:
      return "button";
    case ControlKind::ComboBox:
      return "combo box";
    case ControlKind::ListView:
      return "list view";
    case ControlKind::Static:
      return "static text";
    case ControlKind::Other:
      break;
  }
  return "control of that kind";
}

}  // namespace

SimDialogHost::SimDialogHost(CDialog& dialog, WindowHandle window, const DialogTemplate& controls)
    : dialog_(dialog), window_(window), menuItems_(controls.menuItems) {
  for (const TemplateControl& control : controls.controls) {
    controls_[control.id].kind = control.kind;
  }
}

SimDialogHost::Control* SimDialogHost::Require(int id, const char* call,
                                               std::optional<ControlKind> kind) const {
  const auto found = controls_.find(id);
  const bool missing = found == controls_.end();
  if (!missing && (!kind || found->second.kind == *kind)) return &found->second;
  // Said only when something is wrong: every call of a dialog test comes through here.
  const std::string where = std::string(call) + "(" + std::to_string(id) + "): dialog " +
                            std::to_string(dialog_.TemplateId());
  ReportSimFault(missing
                     ? where + " has no control " + std::to_string(id)
                     : where + "'s control " + std::to_string(id) + " is no " + KindName(*kind));
  return nullptr;
}

// A hidden control can be neither clicked nor typed into.
bool SimDialogHost::TakesInput(const Control& control) const {
  return windowEnabled_ && control.enabled && control.shown;
}

SimDialogHost::Control* SimDialogHost::InputControl(int id, const char* gesture,
                                                    std::optional<ControlKind> kind) {
  Control* control = Require(id, gesture, kind);
  return control != nullptr && TakesInput(*control) ? control : nullptr;
}

void SimDialogHost::Command(int id, int code) {
  dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, code), 0);
}

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

void SimDialogHost::SetText(int id, const std::string& text) {
  Control* control = Require(id, "SetText");
  if (control == nullptr) return;
  control->text = AsWindowsShowsIt(text);
  if (control->kind == ControlKind::Edit) Command(id, dialog_message::kEditUpdate);
}

std::string SimDialogHost::Text(int id) const {
  const Control* control = Require(id, "Text");
  return control == nullptr ? std::string() : control->text;
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
}

void SimDialogHost::ClickListCell(int id, int row, int column) {
  Control* list = InputControl(id, "ClickListCell", ControlKind::ListView);
  if (list == nullptr || FindRow(*list, row) == nullptr) return;
  if (column != 0 && !list->wholeRows) return;
  list->selected = {row};
}

std::intptr_t SimDialogHost::DoubleClickListCell(int id, int row, int column) {
  ClickListCell(id, row, column);
  return Notify(id, control_notification::kDoubleClick);
}

void SimDialogHost::PlaceControl(int id, const DialogRect& rect) {
  if (Control* control = Require(id, "Place")) control->rect = rect;
}

WindowHandle SimDialogHost::ControlWindow(int id) const {
  if (Require(id, "ControlWindow") == nullptr) return 0;
  return (window_ << 16) | static_cast<WindowHandle>(id & 0xFFFF);
}

void SimDialogHost::LimitText(int id, int characters) {
  if (Control* box = Require(id, "LimitText", ControlKind::Edit)) box->limit = characters;
}

int SimDialogHost::TextLimit(int id) const {
  const Control* box = Require(id, "TextLimit", ControlKind::Edit);
  return box == nullptr ? 0 : box->limit;
}

bool SimDialogHost::SelectsWholeRows(int id) const {
  const Control* list = Require(id, "SelectsWholeRows", ControlKind::ListView);
  return list != nullptr && list->wholeRows;
}

void SimDialogHost::ListSelectWholeRows(int id) {
  if (Control* list = Require(id, "ListSelectWholeRows", ControlKind::ListView))
    list->wholeRows = true;
}

bool SimDialogHost::IsChecked(int id) const {
  const Control* box = Require(id, "IsChecked", ControlKind::Button);
  return box != nullptr && box->checked;
}

void SimDialogHost::SetChecked(int id, bool checked) {
  if (Control* box = Require(id, "SetChecked", ControlKind::Button)) box->checked = checked;
}

bool SimDialogHost::IsEnabled(int id) const {
  const Control* control = Require(id, "IsEnabled");
  return control != nullptr && control->enabled;
}

void SimDialogHost::Enable(int id, bool enabled) {
  if (Control* control = Require(id, "Enable")) control->enabled = enabled;
}

void SimDialogHost::ShowControl(int id, bool shown) {
  if (Control* control = Require(id, "ShowControl")) control->shown = shown;
}

bool SimDialogHost::IsControlShown(int id) const {
  const Control* control = Require(id, "IsControlShown");
  return control != nullptr && control->shown;
}

void SimDialogHost::SetFocus(int id) {
  if (Require(id, "SetFocus") != nullptr) focus_ = id;
}

void SimDialogHost::UseMarkup(int id, const MarkupStyle& style) {
  if (Control* text = Require(id, "UseMarkup", ControlKind::Static)) text->markup = style;
}

const MarkupStyle* SimDialogHost::Markup(int id) const {
  const Control* text = Require(id, "Markup", ControlKind::Static);
  return text == nullptr || !text->markup ? nullptr : &*text->markup;
}

void SimDialogHost::MakeFileDropTarget(int id) {
  if (Control* button = Require(id, "MakeFileDropTarget", ControlKind::Button))
    button->dropped.emplace();
}

std::string SimDialogHost::TakeDroppedFile(int id) {
  Control* button = Require(id, "TakeDroppedFile", ControlKind::Button);
  if (button == nullptr || !button->dropped) return {};
  std::string taken;
  taken.swap(*button->dropped);
  return taken;
}

void SimDialogHost::ComboClear(int id) {
  if (Control* combo = Require(id, "ComboClear", ControlKind::ComboBox)) {
    combo->items.clear();
    combo->comboSelection = -1;
  }
}

int SimDialogHost::ComboAddItem(int id, const std::string& text) {
  Control* combo = Require(id, "ComboAddItem", ControlKind::ComboBox);
  if (combo == nullptr) return -1;
  combo->items.push_back(text);
  return static_cast<int>(combo->items.size()) - 1;
}

int SimDialogHost::ComboItemCount(int id) const {
  const Control* combo = Require(id, "ComboItemCount", ControlKind::ComboBox);
  return combo == nullptr ? 0 : static_cast<int>(combo->items.size());
}

std::string SimDialogHost::ComboItem(int id, int index) const {
  const Control* combo = Require(id, "ComboItem", ControlKind::ComboBox);
  if (combo == nullptr || index < 0 || static_cast<std::size_t>(index) >= combo->items.size()) {
    return {};
  }
  return combo->items[static_cast<std::size_t>(index)];
}

int SimDialogHost::ComboSelection(int id) const {
  const Control* combo = Require(id, "ComboSelection", ControlKind::ComboBox);
  return combo == nullptr ? -1 : combo->comboSelection;
}

void SimDialogHost::ComboSelect(int id, int index) {
  if (Control* combo = Require(id, "ComboSelect", ControlKind::ComboBox)) {
    combo->comboSelection =
        index >= 0 && static_cast<std::size_t>(index) < combo->items.size() ? index : -1;
  }
}

SimDialogHost::Row* SimDialogHost::FindRow(Control& list, int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= list.rows.size()) return nullptr;
  return &list.rows[static_cast<std::size_t>(row)];
}

void SimDialogHost::ListAddColumn(int id, const std::string& title, int width) {
  if (Control* list = Require(id, "ListAddColumn", ControlKind::ListView))
    list->columns.emplace_back(title, width);
}

int SimDialogHost::ListInsertRow(int id, int row, const std::string& firstCell) {
  Control* list = Require(id, "ListInsertRow", ControlKind::ListView);
  if (list == nullptr) return -1;
  auto& rows = list->rows;
  const std::size_t at =
      row < 0 ? rows.size() : std::min(static_cast<std::size_t>(row), rows.size());
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), Row{{firstCell}, 0});
  // The selection stays with its rows.
  std::set<int> moved;
  for (int selected : list->selected) {
    moved.insert(selected >= static_cast<int>(at) ? selected + 1 : selected);
  }
  list->selected = moved;
  return static_cast<int>(at);
}

void SimDialogHost::ListSetCell(int id, int row, int column, const std::string& text) {
  Control* list = Require(id, "ListSetCell", ControlKind::ListView);
  if (list == nullptr || column < 0) return;
  if (Row* found = FindRow(*list, row)) {
    if (found->cells.size() <= static_cast<std::size_t>(column)) found->cells.resize(column + 1);
    found->cells[static_cast<std::size_t>(column)] = text;
  }
}

std::string SimDialogHost::ListCell(int id, int row, int column) const {
  Control* list = Require(id, "ListCell", ControlKind::ListView);
  const Row* found = list == nullptr ? nullptr : FindRow(*list, row);
  if (found == nullptr || column < 0 || static_cast<std::size_t>(column) >= found->cells.size()) {
    return {};
  }
  return found->cells[static_cast<std::size_t>(column)];
}

void SimDialogHost::ListDeleteRow(int id, int row) {
  Control* list = Require(id, "ListDeleteRow", ControlKind::ListView);
  if (list == nullptr || FindRow(*list, row) == nullptr) return;
  list->rows.erase(list->rows.begin() + row);
  std::set<int> moved;
  for (int selected : list->selected) {
    if (selected != row) moved.insert(selected > row ? selected - 1 : selected);
  }
  list->selected = moved;
}

int SimDialogHost::ListRowCount(int id) const {
  const Control* list = Require(id, "ListRowCount", ControlKind::ListView);
  return list == nullptr ? 0 : static_cast<int>(list->rows.size());
}

void SimDialogHost::ListSetRowData(int id, int row, std::intptr_t data) {
  Control* list = Require(id, "ListSetRowData", ControlKind::ListView);
  if (Row* found = list == nullptr ? nullptr : FindRow(*list, row)) found->data = data;
}

std::intptr_t SimDialogHost::ListRowData(int id, int row) const {
  Control* list = Require(id, "ListRowData", ControlKind::ListView);
  const Row* found = list == nullptr ? nullptr : FindRow(*list, row);
  return found == nullptr ? 0 : found->data;
}

int SimDialogHost::ListNextSelectedRow(int id, int after) const {
  const Control* list = Require(id, "ListNextSelectedRow", ControlKind::ListView);
  if (list == nullptr) return -1;
  const auto next = list->selected.upper_bound(after);
  return next == list->selected.end() ? -1 : *next;
}

void SimDialogHost::ListSelectRow(int id, int row) {
  Control* list = Require(id, "ListSelectRow", ControlKind::ListView);
  if (list != nullptr && FindRow(*list, row) != nullptr) list->selected.insert(row);
}

void SimDialogHost::ListFitColumn(int id, int column) {
  Control* list = Require(id, "ListFitColumn", ControlKind::ListView);
  if (list == nullptr || column < 0 || static_cast<std::size_t>(column) >= list->columns.size()) {
    return;
  }
  const auto at = static_cast<std::size_t>(column);
  std::size_t widest = list->columns[at].first.size();
  for (const Row& row : list->rows) {
    if (at < row.cells.size()) widest = std::max(widest, row.cells[at].size());
  }
  list->columns[at].second = static_cast<int>(widest) * 7 + 12;
}

std::vector<std::pair<std::string, int>> SimDialogHost::ListColumns(int id) const {
  const Control* list = Require(id, "ListColumns", ControlKind::ListView);
  return list == nullptr ? std::vector<std::pair<std::string, int>>{} : list->columns;
}

DialogRect SimDialogHost::ControlRect(int id) const {
  const Control* control = Require(id, "ControlRect");
  return control == nullptr ? DialogRect{} : control->rect;
}

void SimDialogHost::MoveControl(int id, const DialogRect& rect) {
  if (Control* control = Require(id, "MoveControl")) control->rect = rect;
}

SimDialogRunner::~SimDialogRunner() {
  for (const auto& [templateId, queue] : interactions_) {
    if (queue.empty()) continue;
    ReportSimFault(std::to_string(queue.size()) + " interaction(s) with dialog " +
                   std::to_string(templateId) + " waited for it, but it did not open for them");
  }
  for (const auto& [templateId, places] : layouts_) {
    if (std::find(ran_.begin(), ran_.end(), templateId) == ran_.end()) {
      ReportSimFault("controls of dialog " + std::to_string(templateId) +
                     " were placed, but it never ran");
    }
  }
}

void SimDialogRunner::UseTemplate(int templateId, std::vector<TemplateControl> controls) {
  if (ProgramDialogTemplates().count(templateId) != 0) {
    ReportSimFault("dialog " + std::to_string(templateId) +
                   " has its template in the resource script; a test cannot replace it");
    return;
  }
  ownTemplates_[templateId].controls = std::move(controls);
}

const DialogTemplate* SimDialogRunner::TemplateOf(int templateId) const {
  const auto& program = ProgramDialogTemplates();
  if (const auto found = program.find(templateId); found != program.end()) return &found->second;
  const auto own = ownTemplates_.find(templateId);
  return own == ownTemplates_.end() ? nullptr : &own->second;
}

int SimDialogRunner::RunModal(CDialog& dialog, WindowHandle owner) {
  const int templateId = dialog.TemplateId();
  const DialogTemplate* controls = TemplateOf(templateId);
  if (controls == nullptr) {
    ReportSimFault("dialog " + std::to_string(templateId) + " has no template");
    return -1;
  }
  ran_.push_back(templateId);
  SimDialogHost host(dialog, nextWindow_, *controls);
  nextWindow_ += 0x10;
  const Running running(*this, host.Window());
  hosts_[host.Window()] = &host;
  const auto ownerHost = hosts_.find(owner);
  SimDialogHost* disabled = ownerHost != hosts_.end() && ownerHost->second->IsWindowEnabled()
                                ? ownerHost->second
                                : nullptr;
  if (disabled != nullptr) disabled->EnableWindow(false);
  struct Restore {
    SimDialogRunner& runner;
    SimDialogHost& host;
    SimDialogHost* owner;
    ~Restore() {
      runner.hosts_.erase(host.Window());
      if (owner != nullptr) owner->EnableWindow(true);
    }
  } restore{*this, host, disabled};
  dialog.Attach(host);
  auto& queue = interactions_[templateId];
  Interaction interaction = queue.empty() ? Interaction() : std::move(queue.front());
  if (!queue.empty()) queue.pop_front();
  struct Detach {
    CDialog& dialog;
    ~Detach() { dialog.Detach(); }
  } detach{dialog};
  if (const auto places = layouts_.find(templateId); places != layouts_.end()) {
    for (const auto& [id, rect] : places->second) host.PlaceControl(id, rect);
  }
  dialog.InitDialog(400, 600);
  host.Pump();
  if (host.Ended() && interaction) {
    ReportSimFault("dialog " + std::to_string(templateId) +
                   " ended while it opened, before the interaction waiting for it");
  }
  if (!host.Ended() && interaction) interaction(host);
  host.Pump();
  if (!host.Ended()) {
    throw std::logic_error("dialog " + std::to_string(templateId) + " was left open");
  }
  dialog.Dispatch(dialog_message::kDestroy, 0, 0);
  return host.Result();
}
