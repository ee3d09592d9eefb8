#include <cstdlib>
#include <limits>

#include "common/HostMessages.h"
#include "common/TextCase.h"
#include "common/WheelLimits.h"
#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

namespace {

constexpr std::uintptr_t kScrollLineLeft = 0;   // SB_LINELEFT
constexpr std::uintptr_t kScrollLineRight = 1;  // SB_LINERIGHT

// The volume step of one wheel event: the unit forward, its negation backward. The most
// negative unit has no negation in 32 bits; backward it gives the largest step there is.
std::intptr_t VolumeStep(std::int16_t delta, std::int32_t unit) {
  if (delta > 0) return unit;
  if (unit == std::numeric_limits<std::int32_t>::min()) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return -static_cast<std::intptr_t>(unit);
}

}  // namespace

// A button's release follows what its press became, whatever changed meanwhile (the rule, the
// switch, the program in front): a swallowed or held-back press never leaves a lone release
// behind, and a release whose press reached the system always goes through (else the window
// would stay in a drag), also after a sideways scroll.
int HookEngine::FilterMouse(std::uint32_t message, std::uint32_t mouseData, std::size_t record) {
  if (message == win::kWmMouseWheel) return FilterWheel(static_cast<std::int16_t>(mouseData >> 16));
  if (record == PressRecords::kNone) return 0;
  PressRecord& pressed = local_.presses[record];
  if (win::IsButtonRelease(message)) {
    return pressed.Active() ? ReleaseRecorded(record)
                            : UnrecordedRelease(win::ButtonOfMessage(message));
  }
  if (pressed.fate != PressRecord::Fate::Deciding) return 0;
  switch (message) {
    case win::kWmMButtonDown:
      if (!Settings().Key_MouseMiddleButton || ApplyMiddleButton() == 0) return 0;
      pressed.fate = PressRecord::Fate::Action;
      return 1;
    case win::kWmRButtonDown:
      // While the right button may start a sideways scroll, its press waits: if the wheel turns
      // first, the system never sees the press or its release (so no context menu opens);
      // otherwise the press goes to the system with the release (a click) or when a drag begins.
      if (!Settings().RButtonWheel) return 0;
      pressed.fate = PressRecord::Fate::HeldBack;
      return 1;
    default:
      return 0;
  }
}

// Called for physical movement, outside the dispatcher; also while paused, as the press was
// held back before.
void HookEngine::LetHeldBackPressGoOnDrag(std::int32_t x, std::int32_t y) {
  const std::size_t record = PressRecords::ButtonIndex(win::kVkRButton);
  PressRecord& pressed = local_.presses[record];
  if (pressed.fate != PressRecord::Fate::HeldBack || pressed.scrolled || state_.Idle == 0 ||
      state_.SuppressAll) {
    return;
  }
  const HookPlatform::DragDistance drag = platform_.DragThreshold();
  const std::int64_t dx = std::llabs(static_cast<std::int64_t>(x) - local_.rightPressX);
  const std::int64_t dy = std::llabs(static_cast<std::int64_t>(y) - local_.rightPressY);
  if (dx <= drag.x && dy <= drag.y) return;
  // A drag: the system gets the press now (before this movement), and its release is owed.
  pressed.fate = PressRecord::Fate::Passed;
  pressed.reachedSystem = true;
  state_.Idle = 0;
  platform_.InjectMouse(win::kMouseRightDown);
  if (ReleasedMeanwhile(win::kVkRButton)) platform_.InjectMouse(win::kMouseRightUp);
  CatchUpDeferredReleases();
  state_.Idle = 1;
}

int HookEngine::FilterWheel(std::int16_t delta) {
  // The buttons as the user holds them, not as the system's key state has them: a press held
  // back or a release lost elsewhere must not make every later wheel turn scroll sideways.
  const bool leftButton = local_.physicallyDown.test(win::kVkLButton);
  const bool rightButton = local_.physicallyDown.test(win::kVkRButton);
  const ModifierFlags held = ReadModifierSnapshot();
  const bool noModifier = held.NoneExcept();
  const bool shift = held[Modifier::LShift] || held[Modifier::RShift];
  const bool alt = held[Modifier::LAlt] || held[Modifier::RAlt];
  const bool ctrl = held[Modifier::LCtrl] || held[Modifier::RCtrl];

  const bool sideways =
      (Settings().LButtonWheel && leftButton && noModifier) ||
      (Settings().RButtonWheel && rightButton && noModifier) ||
      (Settings().EnableShiftWheel && shift &&
       held.NoneExcept(Modifier::LShift, Modifier::RShift)) ||
      (Settings().EnableAltWheel && alt && held.NoneExcept(Modifier::LAlt, Modifier::RAlt));
  int result = 0;
  if (sideways && ScrollSideways(delta, rightButton)) result = 1;

  if (Settings().EnableCtrlWheel && ctrl) {
    const std::intptr_t step = VolumeStep(delta, Settings().CtrlWheelUnit);
    if (held.NoneExcept(Modifier::LCtrl, Modifier::RCtrl)) {
      platform_.PostMessageTo(state_.HostWindow, host_message::kVolumeStep, 0, step);
      result = 1;
    } else if (alt &&
               held.NoneExcept(Modifier::LCtrl, Modifier::RCtrl, Modifier::LAlt, Modifier::RAlt)) {
      platform_.PostMessageTo(state_.HostWindow, host_message::kVolumeStep, 1, step);
      result = 1;
    }
  }
  return result;
}

bool HookEngine::ScrollSideways(std::int16_t delta, bool rightButton) {
  // A right press held back never reaches the window now, nor its release: no click follows.
  PressRecord& right = local_.presses[PressRecords::ButtonIndex(win::kVkRButton)];
  if (rightButton && right.fate == PressRecord::Fate::HeldBack) right.scrolled = true;

  WindowHandle target = platform_.FocusWindow();
  if (!platform_.IsWindow(target)) target = platform_.WindowUnderCursor();
  if (!platform_.IsWindow(target)) return false;

  const WindowHandle scrollBar = FindSpreadsheetScrollBar(target);
  const std::uintptr_t direction = delta > 0 ? kScrollLineLeft : kScrollLineRight;
  // The count comes from a block anyone may edit; each message is posted inside the hook call.
  std::int32_t count = Settings().ShiftWheelDelta;
  if (count < kMinSidewaysScrollPerWheel) count = kMinSidewaysScrollPerWheel;
  if (count > kMaxSidewaysScrollPerWheel) count = kMaxSidewaysScrollPerWheel;
  for (std::int32_t i = 0; i < count; ++i) {
    platform_.PostMessageTo(target, win::kWmHScroll, direction,
                            static_cast<std::intptr_t>(scrollBar));
  }
  return true;
}

// A spreadsheet window scrolls sideways only when told which of its scroll bars to move: the
// second visible-in-order child of class "ScrollBar", else of class "NUIScrollBar".
WindowHandle HookEngine::FindSpreadsheetScrollBar(WindowHandle target) {
  if (!EqualsIgnoringCase(platform_.ClassName(target), "EXCEL7")) return 0;
  for (const char* barClass : {"ScrollBar", "NUIScrollBar"}) {
    const WindowHandle first = platform_.FindChildWindow(target, 0, barClass);
    const WindowHandle second = platform_.FindChildWindow(target, first, barClass);
    if (platform_.IsWindow(second)) {
      if (platform_.IsWindowVisible(second)) return second;
      const WindowHandle third = platform_.FindChildWindow(target, second, barClass);
      if (platform_.IsWindow(third)) return third;
    }
  }
  return 0;
}
