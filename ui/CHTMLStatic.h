#pragma once

#include <cstdint>
#include <string>

#include "ui/DialogHost.h"

// A static text of a dialog that shows markup (see HtmlMarkup.h): bold, coloured, broken into
// lines, with links that post 0x7F0E to the dialog.
class CHTMLStatic {
 public:
  // Binds to the static text `id` of a running dialog.
  void Attach(DialogHost& host, int id);
  void SetWindowTextA(const std::string& markup);
  void SetHighlightColour(std::uint32_t colour);
  void SetBackgroundColour(std::uint32_t colour);
  void SetMargin(int pixels);

 private:
  void Apply();

  DialogHost* host_ = nullptr;
  int id_ = 0;
  MarkupStyle style_;
};
