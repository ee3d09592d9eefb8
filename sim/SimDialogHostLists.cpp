#include "sim/SimDialogHost.h"

#include <algorithm>
#include <set>
#include <string>

bool SimDialogHost::SelectsWholeRows(int id) const {
  const Control* list = Require(id, "SelectsWholeRows", ControlKind::ListView);
  return list != nullptr && list->wholeRows;
}

void SimDialogHost::ListSelectWholeRows(int id) {
  if (Control* list = Require(id, "ListSelectWholeRows", ControlKind::ListView))
    list->wholeRows = true;
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
