#include "ui/CHTMLStatic.h"

void CHTMLStatic::Attach(DialogHost& host, int id) {
  host_ = &host;
  id_ = id;
  Apply();
}

void CHTMLStatic::SetWindowTextA(const std::string& markup) {
  if (host_ != nullptr) host_->SetText(id_, markup);
}

void CHTMLStatic::SetHighlightColour(std::uint32_t colour) {
  style_.highlight = colour;
  Apply();
}

void CHTMLStatic::SetBackgroundColour(std::uint32_t colour) {
  style_.hasBackground = true;
  style_.background = colour;
  Apply();
}

void CHTMLStatic::SetMargin(int pixels) {
  style_.margin = pixels;
  Apply();
}

void CHTMLStatic::Apply() {
  if (host_ != nullptr) host_->UseMarkup(id_, style_);
}
