#include "sim/SimDialogHost.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "common/HostMessages.h"

namespace {

std::uintptr_t CommandParameter(int id, int code) {
  return static_cast<std::uintptr_t>((static_cast<unsigned>(code) << 16) |
                                     (static_cast<unsigned>(id) & 0xFFFF));
}

}  // namespace

void SimDialogHost::Click(int id) {
  dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, dialog_message::kButtonClicked),
                   0);
}

void SimDialogHost::Type(int id, const std::string& text) {
  controls_[id].text = text;
  dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, dialog_message::kEditUpdate), 0);
}

std::intptr_t SimDialogHost::Send(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  return dialog_.Dispatch(message, wParam, lParam).value_or(0);
}

void SimDialogHost::FireTimer(unsigned id) {
  if (timers_.count(id) != 0) dialog_.Dispatch(dialog_message::kTimer, id, 0);
}

void SimDialogHost::Pump() {
  while (!posted_.empty() && !ended_) {
    const LoopMessage message = posted_.front();
    posted_.pop_front();
    if (!dialog_.PreTranslateMessage(message)) {
      dialog_.Dispatch(message.message, message.wParam, message.lParam);
    }
  }
}

bool SimDialogHost::PressKey(std::uint32_t message, std::uint8_t virtualKey, std::uint8_t scanCode,
                             int focus) {
  focus_ = focus;
  const LoopMessage loop{window_, message, virtualKey,
                         static_cast<std::intptr_t>(1 | (static_cast<unsigned>(scanCode) << 16))};
  return dialog_.PreTranslateMessage(loop);
}

void SimDialogHost::ClickLink(const std::string& target) {
  char* copy = static_cast<char*>(std::malloc(target.size() + 1));
  std::memcpy(copy, target.c_str(), target.size() + 1);
  PostToSelf(host_message::kLinkClicked, 0, reinterpret_cast<std::intptr_t>(copy));
}

void SimDialogHost::Resize(int clientWidth, int clientHeight) {
  dialog_.Dispatch(dialog_message::kSize, 0,
                   static_cast<std::intptr_t>((clientHeight << 16) | (clientWidth & 0xFFFF)));
}

std::string SimDialogHost::Text(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? std::string() : found->second.text;
}

bool SimDialogHost::IsChecked(int id) const {
  const auto found = controls_.find(id);
  return found != controls_.end() && found->second.checked;
}

bool SimDialogHost::IsEnabled(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() || found->second.enabled;
}

DialogRect SimDialogHost::ControlRect(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? DialogRect{} : found->second.rect;
}

int SimDialogRunner::RunModal(CResizeDlg& dialog, WindowHandle /*owner*/) {
  ran_.push_back(dialog.TemplateId());
  SimDialogHost host(dialog, nextWindow_);
  nextWindow_ += 0x10;
  dialog.Attach(host);
  auto& queue = interactions_[dialog.TemplateId()];
  Interaction interaction = queue.empty() ? Interaction() : std::move(queue.front());
  if (!queue.empty()) queue.pop_front();
  struct Detach {
    CResizeDlg& dialog;
    ~Detach() { dialog.Detach(); }
  } detach{dialog};
  for (const auto& [id, rect] : layouts_[dialog.TemplateId()]) host.PlaceControl(id, rect);
  dialog.InitDialog(400, 600);
  host.Pump();
  if (!host.Ended() && interaction) interaction(host);
  host.Pump();
  if (!host.Ended()) {
    throw std::logic_error("dialog " + std::to_string(dialog.TemplateId()) + " was left open");
  }
  dialog.Dispatch(dialog_message::kDestroy, 0, 0);
  return host.Result();
}
