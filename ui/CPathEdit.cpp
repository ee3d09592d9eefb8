#include "ui/CPathEdit.h"

#include "ui/PathText.h"

void CPathEdit::SetWindowTextA(const std::string& path) {
  path_ = path;
  if (host_ != nullptr) host_->SetText(id_, ShortenPath(path, kShownLength));
}

std::string CPathEdit::GetWindowTextA() const {
  if (host_ == nullptr) return path_;
  std::string shown = host_->Text(id_);
  // The shortened form stands for the whole path; any other text is the user's.
  if (shown == ShortenPath(path_, kShownLength)) return path_;
  return shown;
}
