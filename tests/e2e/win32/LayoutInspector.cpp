// layout-inspector.dll: loaded into another process by ui-probe's "fit" command, it measures
// every text of a window's controls with the control's own font, as the control draws it, and
// answers which texts do not fit in their control: a word cut at the right edge, a line lost
// below the bottom. Fonts are objects of the process that made them, so this runs there.
// It refuses to stay loaded (DllMain returns FALSE), so each look loads it anew.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "InjectedRequest.h"
#include "ui/HtmlMarkup.h"
#include "ui/win32/MarkupLayout.h"
#include "ui/win32/MarkupStatic.h"
#include "ui/win32/TextConversion.h"
#include "ui/win32/WindowDpi.h"

namespace {

struct Inspection {
  std::string answer;
  unsigned failures = 0;
  unsigned texts = 0;
};

std::wstring TextOf(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// The text's size when drawn in `width` pixels with `flags` (wrapping or not, prefixes).
SIZE DrawnSize(HDC context, const std::wstring& text, int width, UINT flags) {
  RECT area{0, 0, width, 0};
  DrawTextW(context, text.c_str(), static_cast<int>(text.size()), &area, flags | DT_CALCRECT);
  return {area.right, area.bottom};
}

struct Need {
  SIZE needed{};
  SIZE room{};
};

Need MeasureButton(HDC context, HWND control, const std::wstring& text, RECT client, UINT dpi) {
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const LONG type = style & BS_TYPEMASK;
  const bool multiline = (style & BS_MULTILINE) != 0;
  TEXTMETRICW metrics{};
  GetTextMetricsW(context, &metrics);
  const bool check = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                     type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
  if (type == BS_GROUPBOX) {
    // The caption stands in the frame's top line, a little in from either end.
    const SIZE size = DrawnSize(context, text, 0, DT_SINGLELINE);
    return {size, {client.right - 2 * ScaledForDpi(8, dpi), client.bottom}};
  }
  // A check box's text starts after the box and a gap; a push button's inside its edges.
  const int before = check ? ScaledForDpi(16, dpi) : ScaledForDpi(4, dpi);
  const int after = check ? 0 : ScaledForDpi(4, dpi);
  const int edges = check ? 0 : ScaledForDpi(2, dpi);
  const SIZE room{client.right - before - after, client.bottom - 2 * edges};
  const SIZE size = multiline ? DrawnSize(context, text, room.cx, DT_WORDBREAK)
                              : DrawnSize(context, text, 0, DT_SINGLELINE);
  return {size, room};
}

Need MeasureStatic(HDC context, HWND control, const std::wstring& text, RECT client) {
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (GetPropW(control, kMarkupMarginProperty) != nullptr || HasMarkup(WideToUtf8(text))) {
    const int margin = ScaledForDpi(
        static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(control, kMarkupMarginProperty))),
        DpiOfWindow(control));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const MarkupExtent extent =
        LayOutMarkup(context, font, ParseMarkup(WideToUtf8(text)), client.right, margin);
    return {{extent.right, extent.bottom}, {client.right - margin, client.bottom}};
  }
  const LONG kind = style & SS_TYPEMASK;
  UINT flags = DT_EXPANDTABS | ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0);
  if (kind != SS_LEFTNOWORDWRAP && kind != SS_SIMPLE) flags |= DT_WORDBREAK;
  return {DrawnSize(context, text, client.right, flags), {client.right, client.bottom}};
}

BOOL CALLBACK Inspect(HWND control, LPARAM data) {
  auto& inspection = *reinterpret_cast<Inspection*>(data);
  if (!IsWindowVisible(control)) return TRUE;
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  const bool button = _wcsicmp(className, L"Button") == 0;
  const bool isStatic = _wcsicmp(className, L"Static") == 0;
  const bool edit = _wcsicmp(className, L"Edit") == 0;
  if (!button && !isStatic && !edit) return TRUE;
  const LONG kind = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
  if (isStatic && (kind == SS_ICON || kind == SS_BITMAP || kind == SS_ENHMETAFILE ||
                   (kind >= SS_BLACKRECT && kind <= SS_WHITEFRAME) || kind == SS_ETCHEDHORZ ||
                   kind == SS_ETCHEDVERT || kind == SS_ETCHEDFRAME)) {
    return TRUE;
  }
  const std::wstring text = TextOf(control);
  RECT client{};
  GetClientRect(control, &client);
  HDC context = GetDC(control);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ previous = SelectObject(context, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  Need need;
  if (edit) {
    // A one-line edit box shows its line whole: the font's height within its client area.
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    need = {{0, metrics.tmHeight}, {client.right, client.bottom}};
  } else if (!text.empty()) {
    need = button ? MeasureButton(context, control, text, client, DpiOfWindow(control))
                  : MeasureStatic(context, control, text, client);
  }
  SelectObject(context, previous);
  ReleaseDC(control, context);
  if (!edit && text.empty()) return TRUE;
  ++inspection.texts;
  if (need.needed.cx <= need.room.cx && need.needed.cy <= need.room.cy) return TRUE;
  ++inspection.failures;
  char line[256];
  std::snprintf(line, sizeof line,
                "cut %d %ls: needs %ldx%ld, has %ldx%ld: ", GetDlgCtrlID(control), className,
                need.needed.cx, need.needed.cy, need.room.cx, need.room.cy);
  inspection.answer += line + WideToUtf8(text) + "\n";
  return TRUE;
}

std::string Look(HWND window, unsigned& failures) {
  Inspection inspection;
  EnumChildWindows(window, Inspect, reinterpret_cast<LPARAM>(&inspection));
  char summary[96];
  std::snprintf(summary, sizeof summary, "%u texts, %u cut, at %u DPI\n", inspection.texts,
                inspection.failures, DpiOfWindow(window));
  failures = inspection.failures;
  return inspection.answer + summary;
}

}  // namespace

void AnswerInjectedRequest() {
  AnswerInjectedRequest(Look);
}
