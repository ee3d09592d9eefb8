#include "ui/CStyledListCtrl.h"

#include "ui/PathText.h"

std::string CStyledListCtrl::Shown(int column, const std::string& text) const {
  return pathColumns_.count(column) != 0 ? ShortenPath(text, kPathColumnLength) : text;
}

int CStyledListCtrl::InsertItem(int row, const std::string& text) {
  return host_->ListInsertRow(id_, row, Shown(0, text));
}

void CStyledListCtrl::SetItemText(int row, int column, const std::string& text) {
  host_->ListSetCell(id_, row, column, Shown(column, text));
}

std::intptr_t CStyledListCtrl::GetSelectedDBIndex() const {
  const int row = GetSelectedIndex();
  return row < 0 ? -1 : GetItemData(row);
}
