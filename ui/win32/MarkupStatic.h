#pragma once

#include <windows.h>

#include "ui/DialogHost.h"

// Turns a static control into one that paints its text as markup, with clickable links that
// post 0x7F0E to the parent (wParam 0, lParam a heap copy of the target, freed by the parent).
// Calling it again only changes the style.
void MakeMarkupStatic(HWND control, const MarkupStyle& style);

// A markup static carries this window property: its margin in pixels at 96 DPI.
inline constexpr const wchar_t* kMarkupMarginProperty = L"TastronMarkupMargin";
