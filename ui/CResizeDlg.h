#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "ui/DialogHost.h"

// A message as the modal loop sees it before dispatching it.
struct LoopMessage {
  WindowHandle window = 0;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

class CResizeDlg;

// Runs dialogs modally: the Windows runner from resource templates with its own message loop,
// the simulated one for tests. One runner serves the process.
class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  virtual int RunModal(CResizeDlg& dialog, WindowHandle owner) = 0;

  static void Install(DialogRunner& runner);
  static DialogRunner& Current();
};

// The base of every dialog but the About dialog. A derived dialog binds its handlers to control
// ids, notification codes and message numbers (its message map) in its constructor, and reaches
// its window through Host() while it runs.
class CResizeDlg {
 public:
  CResizeDlg(int templateId, WindowHandle parent) : templateId_(templateId), owner_(parent) {}
  virtual ~CResizeDlg() = default;
  CResizeDlg(const CResizeDlg&) = delete;
  CResizeDlg& operator=(const CResizeDlg&) = delete;

  int TemplateId() const { return templateId_; }
  // The owner window for the next DoModal.
  void PreModal(WindowHandle owner) { owner_ = owner; }
  int DoModal() { return DialogRunner::Current().RunModal(*this, owner_); }
  void SetIcon(int iconResource) { icon_ = iconResource; }
  // When the dialog grows by dx, dy: control `id` moves by x% of dx and y% of dy, or grows so.
  void MoveXYRate(int id, int xPercent, int yPercent) {
    anchors_[id].moveX = xPercent;
    anchors_[id].moveY = yPercent;
  }
  void SizeXYRate(int id, int xPercent, int yPercent) {
    anchors_[id].sizeX = xPercent;
    anchors_[id].sizeY = yPercent;
  }

  // Called by the runner.
  void Attach(DialogHost& host) { host_ = &host; }
  void Detach() { host_ = nullptr; }
  bool IsRunning() const { return host_ != nullptr; }
  // WM_INITDIALOG: the base sets the icon and notes the controls' places, then OnInitDialog.
  bool InitDialog(int clientWidth, int clientHeight);
  // Returns the message's result when the dialog handled it.
  std::optional<std::intptr_t> Dispatch(std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam);
  // Before the loop dispatches a message; true when the dialog took it.
  virtual bool PreTranslateMessage(const LoopMessage& message) {
    (void)message;
    return false;
  }

 protected:
  DialogHost& Host() { return *host_; }

  virtual bool OnInitDialog() { return true; }
  virtual void OnOK() { Host().End(dialog_message::kIdOk); }
  virtual void OnCancel() { Host().End(dialog_message::kIdCancel); }

  // The message map.
  void OnCommand(int id, std::function<void()> handler) {
    commands_[{id, dialog_message::kButtonClicked}] = std::move(handler);
  }
  void OnNotify(int id, int code, std::function<void()> handler) {
    commands_[{id, code}] = std::move(handler);
  }
  void OnMessage(std::uint32_t message,
                 std::function<std::intptr_t(std::uintptr_t, std::intptr_t)> handler) {
    messages_[message] = std::move(handler);
  }
  // A click on a link of a markup text (message 0x7F0E, whose heap copy of the target the
  // dialog frees after the handler).
  void OnLink(std::function<void(const std::string&)> handler) { link_ = std::move(handler); }

 private:
  struct Anchor {
    int moveX = 0;
    int moveY = 0;
    int sizeX = 0;
    int sizeY = 0;
    DialogRect original;
  };
  void Arrange(int clientWidth, int clientHeight);

  int templateId_;
  WindowHandle owner_;
  int icon_ = 0;
  DialogHost* host_ = nullptr;
  std::map<std::pair<int, int>, std::function<void()>> commands_;
  std::map<std::uint32_t, std::function<std::intptr_t(std::uintptr_t, std::intptr_t)>> messages_;
  std::function<void(const std::string&)> link_;
  std::map<int, Anchor> anchors_;  // by control id
  int originalWidth_ = 0;
  int originalHeight_ = 0;
};
