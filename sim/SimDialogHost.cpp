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

}  // namespace

void SimDialogHost::Click(int id) {
  dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, dialog_message::kButtonClicked),
                   0);
}

void SimDialogHost::Type(int id, const std::string& text) {
  controls_[id].text = text;
  dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, dialog_message::kEditUpdate), 0);
}

void SimDialogHost::SetText(int id, const std::string& text) {
  controls_[id].text = text;
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
  focus_ = focus;
  const LoopMessage loop{window_, message, virtualKey,
                         static_cast<std::intptr_t>(1 | (static_cast<unsigned>(scanCode) << 16))};
  return dialog_.PreTranslateMessage(loop);
}

void SimDialogHost::ClickLink(const std::string& target) {
  char* copy = static_cast<char*>(std::malloc(target.size() + 1));
  std::memcpy(copy, target.c_str(), target.size() + 1);
  PostToSelf(host_message::kLinkClicked, 0, reinterpret_cast<std::intptr_t>(copy));
}

void SimDialogHost::Resize(int clientWidth, int clientHeight) {
  dialog_.Dispatch(dialog_message::kSize, 0,
                   static_cast<std::intptr_t>((clientHeight << 16) | (clientWidth & 0xFFFF)));
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
  int& selected = controls_[id].selected;
  if (selected >= static_cast<int>(at)) ++selected;
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
  int& selected = controls_[id].selected;
  if (selected == row) {
    selected = -1;
  } else if (selected > row) {
    --selected;
  }
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

int SimDialogHost::ListSelectedRow(int id) const {
  return controls_[id].selected;
}

void SimDialogHost::ListSelectRow(int id, int row) {
  controls_[id].selected = FindRow(id, row) != nullptr ? row : -1;
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

int SimDialogRunner::RunModal(CDialog& dialog, WindowHandle /*owner*/) {
  ran_.push_back(dialog.TemplateId());
  SimDialogHost host(dialog, nextWindow_);
  nextWindow_ += 0x10;
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
