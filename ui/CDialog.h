#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/DialogHost.h"

// A message as the modal loop sees it before dispatching it.
struct LoopMessage {
  WindowHandle window = 0;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

class CDialog;

// Runs dialogs modally: the Windows runner from resource templates with its own message loop,
// the simulated one for tests. One runner serves the process.
class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  // Runs the dialog with `owner` disabled meanwhile, as a modal owner is.
  virtual int RunModal(CDialog& dialog, WindowHandle owner) = 0;

  // The window of the innermost dialog running now, 0 when none runs. A dialog made without a
  // parent is owned by it, so that no window behind a modal dialog opens another one.
  WindowHandle InnermostWindow() const { return running_.empty() ? 0 : running_.back(); }

  // The runner installed now (see InstalledDialogRunner); a dialog without one fails to open.
  static DialogRunner& Current();

 protected:
  // Marks a dialog window as running for as long as the object lives.
  class Running {
   public:
    Running(DialogRunner& runner, WindowHandle window) : runner_(runner) {
      runner_.running_.push_back(window);
    }
    ~Running() { runner_.running_.pop_back(); }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

   private:
    DialogRunner& runner_;
  };

 private:
  std::vector<WindowHandle> running_;
};

// Installs a dialog runner for the process for as long as the object lives; then the runner
// installed before it is back (none: DoModal fails again), so that no dialog ever reaches a
// runner that has gone.
class InstalledDialogRunner {
 public:
  explicit InstalledDialogRunner(DialogRunner& runner);
  ~InstalledDialogRunner();
  InstalledDialogRunner(const InstalledDialogRunner&) = delete;
  InstalledDialogRunner& operator=(const InstalledDialogRunner&) = delete;

 private:
  DialogRunner* previous_;
};

// A dialog made from a resource template. A derived dialog binds its handlers to control ids,
// notification codes and message numbers (its message map) in its constructor, and reaches its
// window through Host() while it runs.
class CDialog {
 public:
  CDialog(int templateId, WindowHandle parent) : templateId_(templateId), owner_(parent) {}
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  int TemplateId() const { return templateId_; }
  // The owner window for the next DoModal.
  void PreModal(WindowHandle owner) { owner_ = owner; }
  // Without an owner of its own, the dialog is owned by the innermost dialog running.
  int DoModal();
  void SetIcon(int iconResource) { icon_ = iconResource; }
  int Icon() const { return icon_; }

  // Called by the runner.
  void Attach(DialogHost& host) { host_ = &host; }
  void Detach() { host_ = nullptr; }
  bool IsRunning() const { return host_ != nullptr; }
  // WM_INITDIALOG: the base sets the icon, then OnInitDialog.
  virtual bool InitDialog(int clientWidth, int clientHeight);
  // Returns the message's result when the dialog handled it.
  std::optional<std::intptr_t> Dispatch(std::uint32_t message, std::uintptr_t wParam,
                                        std::intptr_t lParam);
  // WM_NOTIFY from a control; the result when the dialog handled it.
  std::optional<std::intptr_t> DispatchNotify(const ControlNotification& notification);
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
  // WM_NOTIFY of control `id` with `code` (list views: double click, key down).
  void OnControlNotify(int id, int code,
                       std::function<std::intptr_t(const ControlNotification&)> handler) {
    notifications_[{id, code}] = std::move(handler);
  }
  void OnMessage(std::uint32_t message,
                 std::function<std::intptr_t(std::uintptr_t, std::intptr_t)> handler) {
    messages_[message] = std::move(handler);
  }
  // A message that the dialog may leave to the default handling (nullopt).
  void OnMessageOrDefault(
      std::uint32_t message,
      std::function<std::optional<std::intptr_t>(std::uintptr_t, std::intptr_t)> handler) {
    optionalMessages_[message] = std::move(handler);
  }
  // A click on a link of a markup text: message 0x7F0E with wParam and a heap copy of the
  // target, which the dialog frees after the handler, whose result the message returns.
  void OnLink(std::function<std::intptr_t(std::uintptr_t, const std::string&)> handler) {
    link_ = std::move(handler);
  }
  // The window changed its size (WM_SIZE).
  virtual void OnSizeChanged(int clientWidth, int clientHeight) {
    (void)clientWidth;
    (void)clientHeight;
  }

 private:
  int templateId_;
  WindowHandle owner_;
  int icon_ = 0;
  DialogHost* host_ = nullptr;
  std::map<std::pair<int, int>, std::function<void()>> commands_;
  std::map<std::pair<int, int>, std::function<std::intptr_t(const ControlNotification&)>>
      notifications_;
  std::map<std::uint32_t, std::function<std::intptr_t(std::uintptr_t, std::intptr_t)>> messages_;
  std::map<std::uint32_t,
           std::function<std::optional<std::intptr_t>(std::uintptr_t, std::intptr_t)>>
      optionalMessages_;
  std::function<std::intptr_t(std::uintptr_t, const std::string&)> link_;
};
