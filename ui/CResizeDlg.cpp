#include "ui/CResizeDlg.h"

void CResizeDlg::MoveXYRate(int id, int xPercent, int yPercent) {
  Anchor& anchor = RuleFor(id);
  anchor.moveX = xPercent;
  anchor.moveY = yPercent;
}

void CResizeDlg::SizeXYRate(int id, int xPercent, int yPercent) {
  Anchor& anchor = RuleFor(id);
  anchor.sizeX = xPercent;
  anchor.sizeY = yPercent;
}

CResizeDlg::Anchor& CResizeDlg::RuleFor(int id) {
  const auto [found, added] = anchors_.try_emplace(id);
  if (added && sized_ && IsRunning()) {
    found->second.original = Host().ControlRect(id);
    found->second.width = clientWidth_;
    found->second.height = clientHeight_;
  }
  return found->second;
}

bool CResizeDlg::InitDialog(int clientWidth, int clientHeight) {
  sized_ = true;
  clientWidth_ = clientWidth;
  clientHeight_ = clientHeight;
  for (auto& [id, anchor] : anchors_) {
    anchor.original = Host().ControlRect(id);
    anchor.width = clientWidth;
    anchor.height = clientHeight;
  }
  return CDialog::InitDialog(clientWidth, clientHeight);
}

void CResizeDlg::OnSizeChanged(int clientWidth, int clientHeight) {
  clientWidth_ = clientWidth;
  clientHeight_ = clientHeight;
  for (const auto& [id, anchor] : anchors_) {
    const int dx = clientWidth - anchor.width;
    const int dy = clientHeight - anchor.height;
    DialogRect rect = anchor.original;
    rect.left += dx * anchor.moveX / 100;
    rect.top += dy * anchor.moveY / 100;
    rect.right += dx * (anchor.moveX + anchor.sizeX) / 100;
    rect.bottom += dy * (anchor.moveY + anchor.sizeY) / 100;
    Host().MoveControl(id, rect);
  }
}
