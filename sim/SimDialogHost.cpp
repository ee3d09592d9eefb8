#include "sim/SimDialogHost.h"

#include <string>

#include "sim/EditBoxText.h"
#include "sim/SimFaults.h"

namespace {

std::uintptr_t CommandParameter(int id, int code) {
  return static_cast<std::uintptr_t>((static_cast<unsigned>(code) << 16) |
                                     (static_cast<unsigned>(id) & 0xFFFF));
}

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Edit:
      return "edit box";
    case ControlKind::Button:
      return "button";
    case ControlKind::ComboBox:
      return "combo box";
    case ControlKind::ListView:
      return "list view";
    case ControlKind::Static:
      return "static text";
    case ControlKind::Other:
      break;
  }
  return "control of that kind";
}

}  // namespace

SimDialogHost::SimDialogHost(CDialog& dialog, WindowHandle window, const DialogTemplate& controls)
    : dialog_(dialog), window_(window), menuItems_(controls.menuItems) {
  for (const TemplateControl& control : controls.controls) {
    controls_[control.id].kind = control.kind;
  }
}

SimDialogHost::Control* SimDialogHost::Require(int id, const char* call,
                                               std::optional<ControlKind> kind) const {
  const auto found = controls_.find(id);
  const bool missing = found == controls_.end();
  if (!missing && (!kind || found->second.kind == *kind)) return &found->second;
  // Said only when something is wrong: every call of a dialog test comes through here.
  const std::string where = std::string(call) + "(" + std::to_string(id) + "): dialog " +
                            std::to_string(dialog_.TemplateId());
  ReportSimFault(missing
                     ? where + " has no control " + std::to_string(id)
                     : where + "'s control " + std::to_string(id) + " is no " + KindName(*kind));
  return nullptr;
}

// A hidden control can be neither clicked nor typed into.
bool SimDialogHost::TakesInput(const Control& control) const {
  return windowEnabled_ && control.enabled && control.shown;
}

SimDialogHost::Control* SimDialogHost::InputControl(int id, const char* gesture,
                                                    std::optional<ControlKind> kind) {
  Control* control = Require(id, gesture, kind);
  return control != nullptr && TakesInput(*control) ? control : nullptr;
}

void SimDialogHost::Command(int id, int code) {
  dialog_.Dispatch(dialog_message::kCommand, CommandParameter(id, code), 0);
}

void SimDialogHost::SetText(int id, const std::string& text) {
  Control* control = Require(id, "SetText");
  if (control == nullptr) return;
  control->text = AsWindowsShowsIt(text);
  if (control->kind == ControlKind::Edit) Command(id, dialog_message::kEditUpdate);
}

std::string SimDialogHost::Text(int id) const {
  const Control* control = Require(id, "Text");
  return control == nullptr ? std::string() : control->text;
}

void SimDialogHost::PlaceControl(int id, const DialogRect& rect) {
  if (Control* control = Require(id, "Place")) control->rect = rect;
}

WindowHandle SimDialogHost::ControlWindow(int id) const {
  if (Require(id, "ControlWindow") == nullptr) return 0;
  return (window_ << 16) | static_cast<WindowHandle>(id & 0xFFFF);
}

void SimDialogHost::LimitText(int id, int characters) {
  if (Control* box = Require(id, "LimitText", ControlKind::Edit)) box->limit = characters;
}

int SimDialogHost::TextLimit(int id) const {
  const Control* box = Require(id, "TextLimit", ControlKind::Edit);
  return box == nullptr ? 0 : box->limit;
}

bool SimDialogHost::IsChecked(int id) const {
  const Control* box = Require(id, "IsChecked", ControlKind::Button);
  return box != nullptr && box->checked;
}

void SimDialogHost::SetChecked(int id, bool checked) {
  if (Control* box = Require(id, "SetChecked", ControlKind::Button)) box->checked = checked;
}

bool SimDialogHost::IsEnabled(int id) const {
  const Control* control = Require(id, "IsEnabled");
  return control != nullptr && control->enabled;
}

void SimDialogHost::Enable(int id, bool enabled) {
  if (Control* control = Require(id, "Enable")) control->enabled = enabled;
}

void SimDialogHost::ShowControl(int id, bool shown) {
  if (Control* control = Require(id, "ShowControl")) control->shown = shown;
}

bool SimDialogHost::IsControlShown(int id) const {
  const Control* control = Require(id, "IsControlShown");
  return control != nullptr && control->shown;
}

void SimDialogHost::SetFocus(int id) {
  if (Require(id, "SetFocus") != nullptr) focus_ = id;
}

void SimDialogHost::UseMarkup(int id, const MarkupStyle& style) {
  if (Control* text = Require(id, "UseMarkup", ControlKind::Static)) text->markup = style;
}

const MarkupStyle* SimDialogHost::Markup(int id) const {
  const Control* text = Require(id, "Markup", ControlKind::Static);
  return text == nullptr || !text->markup ? nullptr : &*text->markup;
}

void SimDialogHost::MakeFileDropTarget(int id) {
  if (Control* button = Require(id, "MakeFileDropTarget", ControlKind::Button))
    button->dropped.emplace();
}

std::string SimDialogHost::TakeDroppedFile(int id) {
  Control* button = Require(id, "TakeDroppedFile", ControlKind::Button);
  if (button == nullptr || !button->dropped) return {};
  std::string taken;
  taken.swap(*button->dropped);
  return taken;
}

DialogRect SimDialogHost::ControlRect(int id) const {
  const Control* control = Require(id, "ControlRect");
  return control == nullptr ? DialogRect{} : control->rect;
}

void SimDialogHost::MoveControl(int id, const DialogRect& rect) {
  if (Control* control = Require(id, "MoveControl")) control->rect = rect;
}
