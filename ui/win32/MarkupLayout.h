#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/HtmlMarkup.h"

// Where markup text goes in a control: word by word from the top left, a word that would pass
// the right edge starting a new line, each run in the base font made bold or underlined (links)
// as it asks. The painter draws along it; tests measure with it, so that what they call whole
// is what the user sees.
struct MarkupExtent {
  int right = 0;   // the rightmost pixel any word reaches
  int bottom = 0;  // below the last line
};

// Called with each word's font selected into the context.
using PlaceWord =
    std::function<void(const MarkupRun& run, const std::wstring& word, int x, int y, SIZE extent)>;

MarkupExtent LayOutMarkup(HDC context, HFONT base, const std::vector<MarkupRun>& runs, int width,
                          int margin, const PlaceWord& place = {});
