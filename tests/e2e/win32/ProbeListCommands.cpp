// ui-probe's commands on another program's report list: its rows, its selection, and clicks
// into its cells with the real mouse.
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/e2e/win32/ProbeCommands.h"
#include "tests/e2e/win32/ProbeInput.h"
#include "tests/e2e/win32/ProbeWindows.h"

namespace {

// Where a cell of another process's report list lies on the screen. The list's own rectangle
// messages take pointers into that process, so the cell is found from what needs none: the
// header's window, the column widths (LVM_GETCOLUMNWIDTH) and the rows a page holds.
std::optional<POINT> CellCentre(HWND list, int row, int column) {
  const HWND header = FindWindowExW(list, nullptr, L"SysHeader32", nullptr);
  RECT client{};
  RECT top{};
  if (header == nullptr || !GetClientRect(list, &client) || !GetWindowRect(header, &top)) {
    return std::nullopt;
  }
  POINT origin{0, 0};
  ClientToScreen(list, &origin);
  const int perPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  if (perPage <= 0) return std::nullopt;
  // A page holds `perPage` whole rows and less than one more.
  const double rowHeight = (origin.y + client.bottom - top.bottom) / (perPage + 0.5);
  int left = 0;
  for (int i = 0; i < column; ++i) {
    left += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
  }
  const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
  POINT centre{origin.x + left + std::min(width / 2, 40),
               top.bottom + static_cast<int>((row + 0.5) * rowHeight)};
  return centre;
}

}  // namespace

std::optional<int> RunListCommand(const std::string& command, int argc, const char* const* argv) {
  if (command == "rows" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND list = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (list == nullptr) return 1;
    std::printf("%d\n", static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
  }
  if (command == "selected" && argc == 4) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND list = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (list == nullptr) return 1;
    std::string rows;
    for (int row = -1;
         (row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;) {
      rows += (rows.empty() ? "" : ",") + std::to_string(row);
    }
    std::printf("%s\n", rows.empty() ? "-" : rows.c_str());
    return 0;
  }
  if (command == "click-cell" && (argc == 6 || argc == 7)) {
    const HWND window = Find(argv[2], false, false, 0);
    const HWND list = window != nullptr ? GetDlgItem(window, std::atoi(argv[3])) : nullptr;
    if (list == nullptr) return 1;
    const auto centre = CellCentre(list, std::atoi(argv[4]), std::atoi(argv[5]));
    if (!centre) return 1;
    SetForegroundWindow(window);
    ClickAtPoint(*centre, argc == 7 ? std::atoi(argv[6]) : 1);
    return 0;
  }
  return std::nullopt;
}
