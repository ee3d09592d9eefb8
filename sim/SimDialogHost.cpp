#include "sim/SimDialogHost.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "common/HostMessages.h"

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

}  // namespace

// A hidden control can be neither clicked nor typed into.
bool SimDialogHost::TakesInput(int id) const {
  return windowEnabled_ && IsEnabled(id) && IsControlShown(id);
}

bool SimDialogHost::IsControlShown(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() || found->second.shown;
}

void SimDialogHost::Click(int id) {
  if (!TakesInput(id)) return;
  dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, dialog_message::kButtonClicked),
                   0);
}

void SimDialogHost::DropFiles(int id, const std::vector<std::string>& files) {
  const auto target = dropped_.find(id);
  if (!TakesInput(id) || target == dropped_.end() || files.empty()) return;
  target->second = files.front();
  dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, dialog_message::kButtonClicked),
                   0);
}

void SimDialogHost::ClickCheckBox(int id) {
  if (!TakesInput(id)) return;
  controls_[id].checked = !controls_[id].checked;
  Click(id);
}

void SimDialogHost::Type(int id, const std::string& text) {
  if (!TakesInput(id)) return;
  controls_[id].text = FirstCharacters(AsWindowsShowsIt(text), controls_[id].limit);
  dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, dialog_message::kEditUpdate), 0);
}

void SimDialogHost::SetText(int id, const std::string& text) {
  controls_[id].text = AsWindowsShowsIt(text);
  if (edits_.count(id) != 0) {
    dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, dialog_message::kEditUpdate),
                     0);
  }
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
  // A disabled control cannot have the focus, so its keys never come.
  if (!TakesInput(focus)) return false;
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
  if (!TakesInput(id)) return 0;
  return dialog_.DispatchNotify({id, code, virtualKey}).value_or(0);
}

void SimDialogHost::PickComboItem(int id, int index) {
  if (!TakesInput(id)) return;
  ComboSelect(id, index);
  dialog_.Dispatch(dialog_message::kCommand,
                   CommandParameter(id, dialog_message::kComboSelectionChanged), 0);
  // A final choice follows, as when the user clicks an item or presses Enter in the list.
  dialog_.Dispatch(dialog_message::kCommand,
                   CommandParameter(id, dialog_message::kComboSelectionDone), 0);
}

void SimDialogHost::SelectRows(int id, const std::vector<int>& rows) {
  if (!TakesInput(id)) return;
  controls_[id].selected.clear();
  for (int row : rows) ListSelectRow(id, row);
}

void SimDialogHost::ClickListCell(int id, int row, int column) {
  if (!TakesInput(id) || FindRow(id, row) == nullptr) return;
  if (column != 0 && !controls_[id].wholeRows) return;
  controls_[id].selected = {row};
}

std::intptr_t SimDialogHost::DoubleClickListCell(int id, int row, int column) {
  ClickListCell(id, row, column);
  return Notify(id, control_notification::kDoubleClick);
}

void SimDialogHost::ComboClear(int id) {
  controls_[id].items.clear();
  controls_[id].comboSelection = -1;
}

int SimDialogHost::ComboAddItem(int id, const std::string& text) {
  controls_[id].items.push_back(text);
  return static_cast<int>(controls_[id].items.size()) - 1;
}

int SimDialogHost::ComboItemCount(int id) const {
  return static_cast<int>(controls_[id].items.size());
}

std::string SimDialogHost::ComboItem(int id, int index) const {
  const auto& items = controls_[id].items;
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return {};
  return items[static_cast<std::size_t>(index)];
}

void SimDialogHost::ComboSelect(int id, int index) {
  controls_[id].comboSelection = index >= 0 && index < ComboItemCount(id) ? index : -1;
}

std::string SimDialogHost::Text(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? std::string() : found->second.text;
}

bool SimDialogHost::IsChecked(int id) const {
  const auto found = controls_.find(id);
  return found != controls_.end() && found->second.checked;
}

bool SimDialogHost::IsEnabled(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() || found->second.enabled;
}

SimDialogHost::Row* SimDialogHost::FindRow(int id, int row) const {
  auto& rows = controls_[id].rows;
  if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return nullptr;
  return &rows[static_cast<std::size_t>(row)];
}

void SimDialogHost::ListAddColumn(int id, const std::string& title, int width) {
  controls_[id].columns.emplace_back(title, width);
}

int SimDialogHost::ListInsertRow(int id, int row, const std::string& firstCell) {
  auto& rows = controls_[id].rows;
  const std::size_t at =
      row < 0 ? rows.size() : std::min(static_cast<std::size_t>(row), rows.size());
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), Row{{firstCell}, 0});
  // The selection stays with its rows.
  std::set<int> moved;
  for (int selected : controls_[id].selected) {
    moved.insert(selected >= static_cast<int>(at) ? selected + 1 : selected);
  }
  controls_[id].selected = moved;
  return static_cast<int>(at);
}

void SimDialogHost::ListSetCell(int id, int row, int column, const std::string& text) {
  if (Row* found = FindRow(id, row); found != nullptr && column >= 0) {
    if (found->cells.size() <= static_cast<std::size_t>(column)) found->cells.resize(column + 1);
    found->cells[static_cast<std::size_t>(column)] = text;
  }
}

std::string SimDialogHost::ListCell(int id, int row, int column) const {
  const Row* found = FindRow(id, row);
  if (found == nullptr || column < 0 || static_cast<std::size_t>(column) >= found->cells.size()) {
    return {};
  }
  return found->cells[static_cast<std::size_t>(column)];
}

void SimDialogHost::ListDeleteRow(int id, int row) {
  auto& rows = controls_[id].rows;
  if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
  rows.erase(rows.begin() + row);
  std::set<int> moved;
  for (int selected : controls_[id].selected) {
    if (selected != row) moved.insert(selected > row ? selected - 1 : selected);
  }
  controls_[id].selected = moved;
}

int SimDialogHost::ListRowCount(int id) const {
  return static_cast<int>(controls_[id].rows.size());
}

void SimDialogHost::ListSetRowData(int id, int row, std::intptr_t data) {
  if (Row* found = FindRow(id, row)) found->data = data;
}

std::intptr_t SimDialogHost::ListRowData(int id, int row) const {
  const Row* found = FindRow(id, row);
  return found == nullptr ? 0 : found->data;
}

int SimDialogHost::ListNextSelectedRow(int id, int after) const {
  const auto& selected = controls_[id].selected;
  const auto next = selected.upper_bound(after);
  return next == selected.end() ? -1 : *next;
}

void SimDialogHost::ListSelectRow(int id, int row) {
  if (FindRow(id, row) != nullptr) controls_[id].selected.insert(row);
}

void SimDialogHost::ListFitColumn(int id, int column) {
  auto& columns = controls_[id].columns;
  if (column < 0 || static_cast<std::size_t>(column) >= columns.size()) return;
  std::size_t widest = columns[static_cast<std::size_t>(column)].first.size();
  for (const Row& row : controls_[id].rows) {
    if (static_cast<std::size_t>(column) < row.cells.size()) {
      widest = std::max(widest, row.cells[static_cast<std::size_t>(column)].size());
    }
  }
  columns[static_cast<std::size_t>(column)].second = static_cast<int>(widest) * 7 + 12;
}

std::vector<std::pair<std::string, int>> SimDialogHost::ListColumns(int id) const {
  return controls_[id].columns;
}

DialogRect SimDialogHost::ControlRect(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? DialogRect{} : found->second.rect;
}

int SimDialogRunner::RunModal(CDialog& dialog, WindowHandle owner) {
  ran_.push_back(dialog.TemplateId());
  SimDialogHost host(dialog, nextWindow_);
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
  auto& queue = interactions_[dialog.TemplateId()];
  Interaction interaction = queue.empty() ? Interaction() : std::move(queue.front());
  if (!queue.empty()) queue.pop_front();
  struct Detach {
    CDialog& dialog;
    ~Detach() { dialog.Detach(); }
  } detach{dialog};
  for (const auto& [id, rect] : layouts_[dialog.TemplateId()]) host.PlaceControl(id, rect);
  for (int id : edits_[dialog.TemplateId()]) host.MarkEdit(id);
  dialog.InitDialog(400, 600);
  host.Pump();
  if (!host.Ended() && interaction) interaction(host);
  host.Pump();
  if (!host.Ended()) {
    throw std::logic_error("dialog " + std::to_string(dialog.TemplateId()) + " was left open");
  }
  dialog.Dispatch(dialog_message::kDestroy, 0, 0);
  return host.Result();
}
