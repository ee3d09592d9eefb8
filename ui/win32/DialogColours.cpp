#include "ui/win32/DialogColours.h"

namespace {

HBRUSH g_background = nullptr;
COLORREF g_backgroundColour = 0;
COLORREF g_textColour = 0;

}  // namespace

void SetDialogColours(COLORREF background, COLORREF text) {
  if (g_background != nullptr) DeleteObject(g_background);
  g_background = CreateSolidBrush(background);
  g_backgroundColour = background;
  g_textColour = text;
}

HBRUSH ApplyDialogColours(HDC context) {
  if (g_background == nullptr) return nullptr;
  SetBkColor(context, g_backgroundColour);
  SetTextColor(context, g_textColour);
  return g_background;
}
