#include "ui/CResizeDlg.h"

#include <cstdlib>
#include <stdexcept>

#include "common/HostMessages.h"

namespace {

DialogRunner* g_runner = nullptr;

}  // namespace

void DialogRunner::Install(DialogRunner& runner) {
  g_runner = &runner;
}

DialogRunner& DialogRunner::Current() {
  if (g_runner == nullptr) throw std::logic_error("no dialog runner installed");
  return *g_runner;
}

int CDialog::DoModal() {
  DialogRunner& runner = DialogRunner::Current();
  return runner.RunModal(*this, owner_ != 0 ? owner_ : runner.InnermostWindow());
}

bool CDialog::InitDialog(int /*clientWidth*/, int /*clientHeight*/) {
  if (icon_ != 0) Host().SetIcon(icon_);
  return OnInitDialog();
}

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

std::optional<std::intptr_t> CDialog::Dispatch(std::uint32_t message, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
  if (message == dialog_message::kCommand) {
    const int id = static_cast<int>(wParam & 0xFFFF);
    const int code = static_cast<int>((wParam >> 16) & 0xFFFF);
    const auto found = commands_.find({id, code});
    if (found != commands_.end()) {
      found->second();
      return 0;
    }
    if (code == dialog_message::kButtonClicked && id == dialog_message::kIdOk) {
      OnOK();
      return 0;
    }
    if (code == dialog_message::kButtonClicked && id == dialog_message::kIdCancel) {
      OnCancel();
      return 0;
    }
  }
  if (message == host_message::kLinkClicked) {
    // The receiver owns the copy of the target that came with the message.
    char* target = reinterpret_cast<char*>(lParam);
    std::intptr_t result = 0;
    if (link_ && target != nullptr) result = link_(wParam, target);
    std::free(target);
    return result;
  }
  if (message == dialog_message::kSize) {
    OnSizeChanged(static_cast<int>(lParam & 0xFFFF), static_cast<int>((lParam >> 16) & 0xFFFF));
  }
  if (const auto found = messages_.find(message); found != messages_.end()) {
    return found->second(wParam, lParam);
  }
  if (const auto found = optionalMessages_.find(message); found != optionalMessages_.end()) {
    return found->second(wParam, lParam);
  }
  return std::nullopt;
}

std::optional<std::intptr_t> CDialog::DispatchNotify(const ControlNotification& notification) {
  const auto found = notifications_.find({notification.id, notification.code});
  if (found == notifications_.end()) return std::nullopt;
  return found->second(notification);
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
