#include "sim/SimDesktop.h"

#include <string>
#include <utility>

#include "hook/WindowsCodes.h"

namespace {

const char* ButtonName(std::uint32_t message) {
  switch (message) {
    case win::kWmLButtonDown:
    case win::kWmLButtonUp:
      return "left";
    case win::kWmMButtonDown:
    case win::kWmMButtonUp:
      return "middle";
    default:
      return "right";
  }
}

}  // namespace

void SimDesktop::DeliverMouse(std::uint32_t message, std::uint32_t mouseData, bool injected) {
  lastInput_ = TickCount();
  if (mouseHooks_ > 0) {
    const HookVerdict verdict = TimedHookCall([&] {
      return Engine().MouseProcedure(win::kHcAction, message, mouseData, cursorX_, cursorY_,
                                     injected ? kLibraryInjectionTag : 0);
    });
    if (verdict == HookVerdict::Swallow) return;
  }
  const char* tag = injected ? " injected" : "";
  switch (message) {
    case win::kWmMouseMove:
      return;
    case win::kWmMouseWheel:
      trace_ << "wheel " << static_cast<std::int16_t>(mouseData >> 16) << tag << '\n';
      return;
    case win::kWmLButtonDown:
    case win::kWmRButtonDown:
    case win::kWmMButtonDown:
    case win::kWmLButtonUp:
    case win::kWmRButtonUp:
    case win::kWmMButtonUp: {
      const bool down = message == win::kWmLButtonDown || message == win::kWmRButtonDown ||
                        message == win::kWmMButtonDown;
      const std::string name = ButtonName(message);
      const std::uint8_t key = name == "left"     ? win::kVkLButton
                               : name == "middle" ? win::kVkMButton
                                                  : win::kVkRButton;
      if (NoteRelease(key, down, injected) && mouseHooks_ > 0) {
        releasesOfKeysUp_.push_back("mouse " + name + " up");
      }
      systemKeys_[key] = down;
      trace_ << "mouse " << name << (down ? " down" : " up") << tag << '\n';
      return;
    }
    default:
      return;
  }
}

void SimDesktop::InjectMouse(std::uint32_t flags) {
  static constexpr std::pair<std::uint32_t, std::uint32_t> kFlagMessages[] = {
      {win::kMouseLeftDown, win::kWmLButtonDown},   {win::kMouseLeftUp, win::kWmLButtonUp},
      {win::kMouseRightDown, win::kWmRButtonDown},  {win::kMouseRightUp, win::kWmRButtonUp},
      {win::kMouseMiddleDown, win::kWmMButtonDown}, {win::kMouseMiddleUp, win::kWmMButtonUp},
  };
  DeliverDuringInjection();
  for (const auto& [flag, message] : kFlagMessages) {
    if (flags & flag) DeliverMouse(message, 0, true);
  }
}
