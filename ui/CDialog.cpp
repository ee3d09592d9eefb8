#include "ui/CDialog.h"

#include <cstdlib>
#include <stdexcept>

#include "common/HostMessages.h"

namespace {

DialogRunner* g_runner = nullptr;

}  // namespace

InstalledDialogRunner::InstalledDialogRunner(DialogRunner& runner) : previous_(g_runner) {
  g_runner = &runner;
}

InstalledDialogRunner::~InstalledDialogRunner() {
  g_runner = previous_;
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
