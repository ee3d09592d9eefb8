#include "common/HostMessages.h"
#include "common/TextCase.h"
#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

namespace {

constexpr std::uintptr_t kScrollLineLeft = 0;   // SB_LINELEFT
constexpr std::uintptr_t kScrollLineRight = 1;  // SB_LINERIGHT

}  // namespace

int HookEngine::FilterMouse(std::uint32_t message, std::uint32_t mouseData) {
  switch (message) {
    case win::kWmMouseWheel:
      return FilterWheel(static_cast<std::int16_t>(mouseData >> 16));
    case win::kWmMButtonDown:
    case win::kWmMButtonUp:
      if (!Settings().Key_MouseMiddleButton || ApplyMiddleButton(message) == 0) return 0;
      return local_.pressReachedSystem.test(win::kVkMButton) && message == win::kWmMButtonUp ? 0
                                                                                             : 1;
    case win::kWmRButtonUp:
      if (!state_.SwallowRButtonUp) return 0;
      state_.SwallowRButtonUp = 0;
      return 1;
    case win::kWmLButtonUp:
      if (!state_.SwallowLButtonUp) return 0;
      state_.SwallowLButtonUp = 0;
      return 1;
    default:
      return 0;
  }
}

int HookEngine::FilterWheel(std::int16_t delta) {
  const bool leftButton = platform_.IsKeyDown(win::kVkLButton);
  const bool rightButton = platform_.IsKeyDown(win::kVkRButton);
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
  if (sideways && ScrollSideways(delta, leftButton, rightButton)) result = 1;

  if (Settings().EnableCtrlWheel && ctrl) {
    const std::intptr_t step = delta > 0 ? Settings().CtrlWheelUnit : -Settings().CtrlWheelUnit;
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

bool HookEngine::ScrollSideways(std::int16_t delta, bool leftButton, bool rightButton) {
  // The release of a button that took part in the scroll must not reach the window as a click.
  if (rightButton) state_.SwallowRButtonUp = 1;
  if (leftButton) state_.SwallowLButtonUp = 1;

  WindowHandle target = platform_.FocusWindow();
  if (!platform_.IsWindow(target)) target = platform_.WindowUnderCursor();
  if (!platform_.IsWindow(target)) return false;

  const WindowHandle scrollBar = FindSpreadsheetScrollBar(target);
  const std::uintptr_t direction = delta > 0 ? kScrollLineLeft : kScrollLineRight;
  const std::int32_t count = Settings().ShiftWheelDelta > 0 ? Settings().ShiftWheelDelta : 1;
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
