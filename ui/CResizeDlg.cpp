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

bool CDialog::InitDialog(int /*clientWidth*/, int /*clientHeight*/) {
  if (icon_ != 0) Host().SetIcon(icon_);
  return OnInitDialog();
}

bool CResizeDlg::InitDialog(int clientWidth, int clientHeight) {
  originalWidth_ = clientWidth;
  originalHeight_ = clientHeight;
  for (auto& [id, anchor] : anchors_) anchor.original = Host().ControlRect(id);
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

void CResizeDlg::OnSizeChanged(int clientWidth, int clientHeight) {
  const int dx = clientWidth - originalWidth_;
  const int dy = clientHeight - originalHeight_;
  for (const auto& [id, anchor] : anchors_) {
    DialogRect rect = anchor.original;
    rect.left += dx * anchor.moveX / 100;
    rect.top += dy * anchor.moveY / 100;
    rect.right += dx * (anchor.moveX + anchor.sizeX) / 100;
    rect.bottom += dy * (anchor.moveY + anchor.sizeY) / 100;
    Host().MoveControl(id, rect);
  }
}
