#include "app/OptionControls.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "app/RegistryNames.h"
#include "common/RuleRecord.h"
#include "ui/CUtilityLib.h"

namespace option_controls {
namespace {

using namespace main_window;

constexpr std::size_t kEditBuffer = 64;  // the edit's text is read into 63 characters

std::int32_t ReadOption(const char* name, int defaultValue) {
  return CUtilityLib::ReadRegistry(RegistryRoot::CurrentUser, registry_name::kConfigKey, name,
                                   defaultValue);
}

void WriteOption(const char* name, const std::string& text) {
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, registry_name::kConfigKey, name, text);
}

// The number an edit's text stands for, read as atoi reads it (leading blanks, a sign, digits up
// to the first other character, nothing readable is 0), except that a number beyond int stops
// at int's end where atoi's result is undefined.
std::int32_t EditNumber(const std::string& text) {
  return ReadDecimalField(std::string_view(text).substr(0, kEditBuffer - 1));
}

const OptionBox& FindBox(int id) {
  return *std::find_if(kOptionBoxes.begin(), kOptionBoxes.end(),
                       [id](const OptionBox& box) { return box.id == id; });
}

// 1062 needs the Windows keys; 1066 and 1067 need Win+L as well; 1026 needs Ctrl+wheel.
void UpdateDependants(DialogHost& host, int changedId) {
  if (changedId == kLockWin || changedId == kLockMonitor) {
    const bool winFree = !host.IsChecked(kLockWin);
    if (changedId == kLockWin) host.Enable(kLockMonitor, winFree);
    const bool awayMode = winFree && host.IsChecked(kLockMonitor);
    host.Enable(kInactiveMouse, awayMode);
    host.Enable(kLockWorkStation, awayMode);
  }
  if (changedId == kEnableCtrlWheel) {
    host.Enable(kCtrlWheelUnit.id, host.IsChecked(kEnableCtrlWheel));
  }
}

}  // namespace

// Setting the edits' texts raises their update notifications, which write the value back and
// push the block: the first push still carries 1060 and 1026 as they were, the second all.
void Load(DialogHost& host) {
  for (int id : kLoadOrder) {
    const OptionBox& box = FindBox(id);
    host.SetChecked(box.id, ReadOption(box.registryName, box.defaultValue) != 0);
  }
  // The step shows as stored, whatever its size: the library bounds what one notch posts.
  host.SetText(kShiftWheelDelta.id,
               CUtilityLib::GetString(
                   ReadOption(kShiftWheelDelta.registryName, kShiftWheelDelta.defaultValue)));
  const OptionBox& ctrlWheelBox = FindBox(kEnableCtrlWheel);
  const bool ctrlWheel = ReadOption(ctrlWheelBox.registryName, ctrlWheelBox.defaultValue) != 0;
  host.SetChecked(kEnableCtrlWheel, ctrlWheel);
  host.Enable(kCtrlWheelUnit.id, ctrlWheel);
  host.SetText(kCtrlWheelUnit.id, CUtilityLib::GetString(ReadOption(kCtrlWheelUnit.registryName,
                                                                    kCtrlWheelUnit.defaultValue)));
  UpdateDependants(host, kLockWin);
}

void Toggle(DialogHost& host, const OptionBox& box) {
  const bool checked = !host.IsChecked(box.id);
  host.SetChecked(box.id, checked);
  WriteOption(box.registryName, checked ? "1" : "0");
  UpdateDependants(host, box.id);
}

void StoreEdit(DialogHost& host, const NumberEdit& edit) {
  WriteOption(edit.registryName, host.Text(edit.id));
}

HookSettings Build(DialogHost& host) {
  HookSettings settings{};
  for (const OptionBox& box : kOptionBoxes) settings.*(box.field) = host.IsChecked(box.id) ? 1 : 0;
  // Neither number has a range here: only the ends of int bound them (the library keeps the
  // sideways step within what a message queue takes).
  for (const NumberEdit* edit : {&kShiftWheelDelta, &kCtrlWheelUnit}) {
    settings.*(edit->field) = EditNumber(host.Text(edit->id));
  }
  return settings;
}

}  // namespace option_controls
