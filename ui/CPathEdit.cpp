#include "ui/CPathEdit.h"

#include "ui/PathText.h"

void CPathEdit::SetWindowTextA(const std::string& path) {
  path_ = path;
  if (host_ != nullptr) host_->SetText(id_, ShortenPath(path, kShownLength));
}
