#pragma once

#include <deque>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "sim/DialogTemplates.h"
#include "sim/SimDialogHost.h"
#include "ui/CDialog.h"

// Runs dialogs modally for tests: for each dialog, by template id, the test says beforehand
// what the user does while it is open. A dialog that the user leaves open is an error. Its
// owner's window is disabled while it runs. Each dialog has the controls of its template in the
// program's resource script; a dialog whose template is not there fails to open, as on Windows
// (DoModal gives -1), unless the test gave it a template of its own. What the test prepared and
// no dialog took (an interaction, a control's place) is a fault when the runner goes.
class SimDialogRunner final : public DialogRunner {
 public:
  using Interaction = std::function<void(SimDialogHost&)>;

  SimDialogRunner() = default;
  ~SimDialogRunner() override;
  SimDialogRunner(const SimDialogRunner&) = delete;
  SimDialogRunner& operator=(const SimDialogRunner&) = delete;

  void When(int templateId, Interaction interaction) {
    interactions_[templateId].push_back(std::move(interaction));
  }
  // The template of a dialog that only a test has, without a menu (a template of the resource
  // script cannot be replaced).
  void UseTemplate(int templateId, std::vector<TemplateControl> controls);
  // Where the dialog template puts a control (the client area is 400 x 600).
  void Place(int templateId, int id, const DialogRect& rect) { layouts_[templateId][id] = rect; }
  int RunModal(CDialog& dialog, WindowHandle owner) override;
  // Template ids of the dialogs that ran, in order.
  const std::vector<int>& Ran() const { return ran_; }

 private:
  const DialogTemplate* TemplateOf(int templateId) const;

  std::map<int, std::deque<Interaction>> interactions_;
  std::map<int, std::map<int, DialogRect>> layouts_;
  std::map<int, DialogTemplate> ownTemplates_;
  std::map<WindowHandle, SimDialogHost*> hosts_;  // the dialogs running, by window
  std::vector<int> ran_;
  WindowHandle nextWindow_ = 0x30010;
};
