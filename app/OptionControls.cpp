#include "app/OptionControls.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "app/RegistryNames.h"
#include "common/RuleRecord.h"
#include "common/WheelLimits.h"
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

// The sideways step the library honours, whatever the edit or the registry says.
std::int32_t SidewaysStep(std::int32_t number) {
  return std::clamp(number, kMinSidewaysScrollPerWheel, kMaxSidewaysScrollPerWheel);
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
  // A stored step beyond the range (the registry can be edited by hand) shows as the step in
  // force, and is stored so.
  host.SetText(kShiftWheelDelta.id,
               CUtilityLib::GetString(SidewaysStep(
                   ReadOption(kShiftWheelDelta.registryName, kShiftWheelDelta.defaultValue))));
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

// While the user types, the text stays as typed (correcting "" to "1" would turn the next "5"
// into "15"); once the box is left it shows the step in force, which stores it too.
void ShowSidewaysStepInForce(DialogHost& host) {
  const std::string text = host.Text(kShiftWheelDelta.id);
  const std::string inForce = CUtilityLib::GetString(SidewaysStep(EditNumber(text)));
  if (text != inForce) host.SetText(kShiftWheelDelta.id, inForce);
}

HookSettings Build(DialogHost& host) {
  HookSettings settings{};
  for (const OptionBox& box : kOptionBoxes) settings.*(box.field) = host.IsChecked(box.id) ? 1 : 0;
  settings.*(kShiftWheelDelta.field) = SidewaysStep(EditNumber(host.Text(kShiftWheelDelta.id)));
  // The volume step has no range: only the ends of int bound it.
  settings.*(kCtrlWheelUnit.field) = EditNumber(host.Text(kCtrlWheelUnit.id));
  return settings;
}

}  // namespace option_controls
