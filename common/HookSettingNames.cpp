#include "common/HookSettingNames.h"

#include <array>

#include "common/TextCase.h"

namespace {

#define TASTRON_FIELD(name)    \
  HookSettingField {           \
#name, &HookSettings::name \
  }

constexpr std::array kFields = {
    TASTRON_FIELD(Lock_Monitor),          TASTRON_FIELD(LockWorkStation),
    TASTRON_FIELD(InactiveMouse),         TASTRON_FIELD(Lock_ShiftSpace),
    TASTRON_FIELD(Lock_CtrlSpace),        TASTRON_FIELD(Lock_UseRCtrl),
    TASTRON_FIELD(Lock_CapsLock),         TASTRON_FIELD(Lock_Insert),
    TASTRON_FIELD(Lock_NumLock),          TASTRON_FIELD(Lock_Win),
    TASTRON_FIELD(Key_NoteBookMode),      TASTRON_FIELD(Key_KeyChange),
    TASTRON_FIELD(Key_MouseMiddleButton), TASTRON_FIELD(EnableShiftMemory),
    TASTRON_FIELD(EnableShiftWheel),      TASTRON_FIELD(EnableAltWheel),
    TASTRON_FIELD(RButtonWheel),          TASTRON_FIELD(LButtonWheel),
    TASTRON_FIELD(ShiftWheelDelta),       TASTRON_FIELD(EnableCtrlWheel),
    TASTRON_FIELD(CtrlWheelUnit),
};

#undef TASTRON_FIELD

static_assert(kFields.size() * sizeof(std::int32_t) == sizeof(HookSettings));

}  // namespace

std::span<const HookSettingField> HookSettingFields() {
  return kFields;
}

const HookSettingField* FindHookSetting(std::string_view name) {
  for (const HookSettingField& field : kFields) {
    if (EqualsIgnoringCase(field.name, name)) return &field;
  }
  return nullptr;
}
