#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "common/HookSettings.h"

// One field of the settings block with the registry value name it is stored under. The main
// window and the scenario scripts address the settings by these names.
struct HookSettingField {
  std::string_view name;
  std::int32_t HookSettings::*member;
};

// All 21 fields, in the order of the block.
std::span<const HookSettingField> HookSettingFields();

// The field with that name, compared without regard to letter case; nullptr when there is none.
const HookSettingField* FindHookSetting(std::string_view name);
