#include "ui/win32/MarkupStatic.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/HostMessages.h"
#include "ui/HtmlMarkup.h"
#include "ui/win32/DialogColours.h"
#include "ui/win32/MarkupLayout.h"
#include "ui/win32/TextConversion.h"
#include "ui/win32/WindowDpi.h"

namespace {

struct MarkupState {
  WNDPROC previous = nullptr;
  MarkupStyle style;
  std::vector<MarkupRun> runs;
  std::vector<std::pair<RECT, std::string>> links;  // where each link was painted
};

// Controls of the user-interface thread only.
std::map<HWND, MarkupState> g_statics;

void Parse(HWND control, MarkupState& state) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  state.runs = ParseMarkup(WideToUtf8(text));
}

void Paint(HWND control, MarkupState& state) {
  PAINTSTRUCT paint;
  HDC context = BeginPaint(control, &paint);
  RECT client{};
  GetClientRect(control, &client);
  HBRUSH dialogBrush = ApplyDialogColours(context);
  const COLORREF textColour = GetTextColor(context);
  HBRUSH background =
      state.style.hasBackground ? CreateSolidBrush(state.style.background) : nullptr;
  FillRect(context, &client,
           background != nullptr
               ? background
               : (dialogBrush != nullptr ? dialogBrush : GetSysColorBrush(COLOR_BTNFACE)));
  SetBkMode(context, TRANSPARENT);

  // The font is the dialog's, made for the window's DPI; the margin is given for 96 DPI.
  const auto base = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  state.links.clear();
  LayOutMarkup(context, base, state.runs, client.right,
               ScaledForDpi(state.style.margin, DpiOfWindow(control)),
               [&](const MarkupRun& run, const std::wstring& word, int x, int y, SIZE extent) {
                 SetTextColor(context, !run.link.empty() ? state.style.highlight
                                                         : (run.colour ? *run.colour : textColour));
                 TextOutW(context, x, y, word.c_str(), static_cast<int>(word.size()));
                 if (!run.link.empty()) {
                   state.links.push_back({RECT{x, y, x + extent.cx, y + extent.cy}, run.link});
                 }
               });
  if (background != nullptr) DeleteObject(background);
  EndPaint(control, &paint);
}

const std::string* LinkAt(const MarkupState& state, LPARAM position) {
  const POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  for (const auto& [area, target] : state.links) {
    if (PtInRect(&area, point)) return &target;
  }
  return nullptr;
}

LRESULT CALLBACK MarkupProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto found = g_statics.find(control);
  if (found == g_statics.end()) return DefWindowProcW(control, message, wParam, lParam);
  MarkupState& state = found->second;
  const WNDPROC previous = state.previous;
  switch (message) {
    case WM_PAINT:
      Paint(control, state);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = CallWindowProcW(previous, control, message, wParam, lParam);
      Parse(control, state);
      InvalidateRect(control, nullptr, TRUE);
      return result;
    }
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_SETCURSOR: {
      POINT point{};
      GetCursorPos(&point);
      ScreenToClient(control, &point);
      if (LinkAt(state, MAKELPARAM(point.x, point.y)) != nullptr) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONUP:
      if (const std::string* target = LinkAt(state, lParam)) {
        char* copy = static_cast<char*>(std::malloc(target->size() + 1));
        std::memcpy(copy, target->c_str(), target->size() + 1);
        if (!PostMessageW(GetParent(control), host_message::kLinkClicked, 0,
                          reinterpret_cast<LPARAM>(copy))) {
          std::free(copy);
        }
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemovePropW(control, kMarkupMarginProperty);
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      g_statics.erase(found);
      return CallWindowProcW(previous, control, message, wParam, lParam);
    default:
      break;
  }
  return CallWindowProcW(previous, control, message, wParam, lParam);
}

}  // namespace

void MakeMarkupStatic(HWND control, const MarkupStyle& style) {
  if (control == nullptr) return;
  auto [entry, added] = g_statics.try_emplace(control);
  entry->second.style = style;
  // Seen from outside (tests that measure the painted text): the margin the text keeps.
  SetPropW(control, kMarkupMarginProperty,
           reinterpret_cast<HANDLE>(static_cast<INT_PTR>(style.margin)));
  if (added) {
    entry->second.previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MarkupProcedure)));
    Parse(control, entry->second);
  }
  InvalidateRect(control, nullptr, TRUE);
}
