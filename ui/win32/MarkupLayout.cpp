#include "ui/win32/MarkupLayout.h"

#include <algorithm>

#include "ui/win32/TextConversion.h"

namespace {

HFONT VariantOf(HFONT base, bool bold, bool underline) {
  LOGFONTW font{};
  GetObjectW(base != nullptr ? base : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  if (bold) font.lfWeight = FW_BOLD;
  font.lfUnderline = underline ? TRUE : FALSE;
  return CreateFontIndirectW(&font);
}

}  // namespace

MarkupExtent LayOutMarkup(HDC context, HFONT base, const std::vector<MarkupRun>& runs, int width,
                          int margin, const PlaceWord& place) {
  MarkupExtent extent;
  int x = margin;
  int y = margin;
  int lineHeight = 0;
  for (const MarkupRun& run : runs) {
    HFONT font = VariantOf(base, run.bold, !run.link.empty());
    HGDIOBJ previous = SelectObject(context, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    lineHeight = std::max<int>(lineHeight, metrics.tmHeight);
    if (run.lineBreak) {
      x = margin;
      y += lineHeight;
    } else {
      // Word by word, so that a long text wraps at the control's right edge.
      const std::wstring text = Utf8ToWide(run.text);
      std::size_t start = 0;
      while (start < text.size()) {
        std::size_t end = text.find(L' ', start);
        end = end == std::wstring::npos ? text.size() : end + 1;
        const std::wstring word = text.substr(start, end - start);
        SIZE size{};
        GetTextExtentPoint32W(context, word.c_str(), static_cast<int>(word.size()), &size);
        if (x > margin && x + size.cx > width - margin) {
          x = margin;
          y += lineHeight;
        }
        if (place) place(run, word, x, y, size);
        // A blank at a line's end takes no room the eye needs.
        SIZE visible = size;
        if (word.back() == L' ') {
          GetTextExtentPoint32W(context, word.c_str(), static_cast<int>(word.size()) - 1, &visible);
        }
        extent.right = std::max<int>(extent.right, x + visible.cx);
        x += size.cx;
        start = end;
      }
    }
    SelectObject(context, previous);
    DeleteObject(font);
  }
  extent.bottom = y + lineHeight;
  return extent;
}
