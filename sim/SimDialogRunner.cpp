#include "sim/SimDialogRunner.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "sim/SimFaults.h"

SimDialogRunner::~SimDialogRunner() {
  for (const auto& [templateId, queue] : interactions_) {
    if (queue.empty()) continue;
    ReportSimFault(std::to_string(queue.size()) + " interaction(s) with dialog " +
                   std::to_string(templateId) + " waited for it, but it did not open for them");
  }
  for (const auto& [templateId, places] : layouts_) {
    if (std::find(ran_.begin(), ran_.end(), templateId) == ran_.end()) {
      ReportSimFault("controls of dialog " + std::to_string(templateId) +
                     " were placed, but it never ran");
    }
  }
}

void SimDialogRunner::UseTemplate(int templateId, std::vector<TemplateControl> controls) {
  if (ProgramDialogTemplates().count(templateId) != 0) {
    ReportSimFault("dialog " + std::to_string(templateId) +
                   " has its template in the resource script; a test cannot replace it");
    return;
  }
  ownTemplates_[templateId].controls = std::move(controls);
}

const DialogTemplate* SimDialogRunner::TemplateOf(int templateId) const {
  const auto& program = ProgramDialogTemplates();
  if (const auto found = program.find(templateId); found != program.end()) return &found->second;
  const auto own = ownTemplates_.find(templateId);
  return own == ownTemplates_.end() ? nullptr : &own->second;
}

int SimDialogRunner::RunModal(CDialog& dialog, WindowHandle owner) {
  const int templateId = dialog.TemplateId();
  const DialogTemplate* controls = TemplateOf(templateId);
  if (controls == nullptr) {
    ReportSimFault("dialog " + std::to_string(templateId) + " has no template");
    return -1;
  }
  ran_.push_back(templateId);
  SimDialogHost host(dialog, nextWindow_, *controls);
  nextWindow_ += 0x10;
  const Running running(*this, host.Window());
  hosts_[host.Window()] = &host;
  const auto ownerHost = hosts_.find(owner);
  SimDialogHost* disabled = ownerHost != hosts_.end() && ownerHost->second->IsWindowEnabled()
                                ? ownerHost->second
                                : nullptr;
  if (disabled != nullptr) disabled->EnableWindow(false);
  struct Restore {
    SimDialogRunner& runner;
    SimDialogHost& host;
    SimDialogHost* owner;
    ~Restore() {
      runner.hosts_.erase(host.Window());
      if (owner != nullptr) owner->EnableWindow(true);
    }
  } restore{*this, host, disabled};
  dialog.Attach(host);
  auto& queue = interactions_[templateId];
  Interaction interaction = queue.empty() ? Interaction() : std::move(queue.front());
  if (!queue.empty()) queue.pop_front();
  struct Detach {
    CDialog& dialog;
    ~Detach() { dialog.Detach(); }
  } detach{dialog};
  if (const auto places = layouts_.find(templateId); places != layouts_.end()) {
    for (const auto& [id, rect] : places->second) host.PlaceControl(id, rect);
  }
  dialog.InitDialog(400, 600);
  host.Pump();
  if (host.Ended() && interaction) {
    ReportSimFault("dialog " + std::to_string(templateId) +
                   " ended while it opened, before the interaction waiting for it");
  }
  if (!host.Ended() && interaction) interaction(host);
  host.Pump();
  if (!host.Ended()) {
    throw std::logic_error("dialog " + std::to_string(templateId) + " was left open");
  }
  dialog.Dispatch(dialog_message::kDestroy, 0, 0);
  return host.Result();
}
