#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "ui/DialogHost.h"

// A report-style list of a dialog, with item data per row and columns that show paths
// shortened in their middle.
class CStyledListCtrl {
 public:
  static constexpr std::size_t kPathColumnLength = 48;

  // A row is a whole rule: a click anywhere in it selects it.
  void Attach(DialogHost& host, int id) {
    host_ = &host;
    id_ = id;
    host.ListSelectWholeRows(id);
  }
  void InsertColumn(const std::string& title, int width) {
    host_->ListAddColumn(id_, title, width);
  }
  // Inserts a row; returns its index.
  int InsertItem(int row, const std::string& text);
  void SetItemText(int row, int column, const std::string& text);
  std::string GetItemText(int row, int column) const { return host_->ListCell(id_, row, column); }
  void SetItemData(int row, std::intptr_t data) { host_->ListSetRowData(id_, row, data); }
  std::intptr_t GetItemData(int row) const { return host_->ListRowData(id_, row); }
  void DeleteItem(int row) { host_->ListDeleteRow(id_, row); }
  int GetItemCount() const { return host_->ListRowCount(id_); }
  int GetSelectedIndex() const { return host_->ListSelectedRow(id_); }
  // The next selected row after `after` (-1: the first), or -1.
  int GetNextSelectedIndex(int after) const { return host_->ListNextSelectedRow(id_, after); }
  // The selected row's item data, or -1 when no row is selected.
  std::intptr_t GetSelectedDBIndex() const;
  // Texts of this column are paths, shown shortened.
  void SetPathColumn(int column) { pathColumns_.insert(column); }
  void AdjustColumnWidth(int column) { host_->ListFitColumn(id_, column); }

 private:
  std::string Shown(int column, const std::string& text) const;

  DialogHost* host_ = nullptr;
  int id_ = 0;
  std::set<int> pathColumns_;
};
