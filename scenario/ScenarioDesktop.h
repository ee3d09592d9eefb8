#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "common/HookSettings.h"
#include "common/KeyCodePair.h"

// A desktop on which a scenario script plays: the simulated one (tastron-sim) or the real
// trellin_192.dll under Wine (the e2e driver). Each writes the effects it observes to the trace;
// the script runner writes the echo lines.
class ScenarioDesktop {
 public:
  enum class Button { Left, Middle, Right };

  virtual ~ScenarioDesktop() = default;

  // The host's settings block; PushSettings hands the whole block over (UpdateValue).
  virtual HookSettings& HostSettings() = 0;
  virtual void PushSettings() = 0;
  virtual void Enable(std::int32_t enabled) = 0;

  // The rule file, written by the host (not traced).
  virtual void SetRule(const std::string& section, const std::string& key,
                       const std::string& value) = 0;
  virtual void RemoveRule(const std::string& section, const std::string& key) = 0;
  virtual void RemoveRuleSection(const std::string& section) = 0;
  // The rule file's whole content becomes these bytes at once, as another program saves a file;
  // the library is told nothing.
  virtual void LoadRuleFile(const std::string& bytes) = 0;

  // Physical input.
  virtual void Key(KeyCodePair key, bool extended, bool down) = 0;
  virtual void MouseButton(Button button, bool down) = 0;
  virtual void Wheel(std::int16_t delta) = 0;
  // A movement by so many pixels (0, 0 for a plain "move").
  virtual void Move(std::int32_t dx, std::int32_t dy) = 0;

  // One physical key, button or wheel event, as a script line names it.
  struct Input {
    enum class Kind { Key, Button, Wheel };
    Kind kind = Kind::Key;
    KeyCodePair key{};
    bool extended = false;
    bool down = false;
    Button button = Button::Left;
    std::int16_t delta = 0;
  };
  void Play(const Input& input) {
    switch (input.kind) {
      case Input::Kind::Key:
        Key(input.key, input.extended, input.down);
        break;
      case Input::Kind::Button:
        MouseButton(input.button, input.down);
        break;
      case Input::Kind::Wheel:
        Wheel(input.delta);
        break;
    }
  }
  // The event arrives while the library injects: at its next injection call, before the
  // injected event reaches the hooks. If the next input line's event (a key, button, wheel or
  // movement) makes the library inject nothing, it arrives right after that event; if no input
  // line follows, at the end.
  virtual void DuringInjection(const Input& input) = 0;

  // Windows are named; "host" names the host window. `program`, for a top-level window: the
  // executable file name of the running program that owns it; without it, a program that no
  // script names (a child: its parent's program).
  virtual bool HasWindow(const std::string& name) const = 0;
  virtual void DeclareWindow(const std::string& name, const std::string& className, bool hidden,
                             const std::string* parentName, const std::string* program) = 0;
  // An empty name means none.
  virtual void Focus(const std::string& name) = 0;
  // The desktop's foreground window; its program decides which program's rules apply.
  virtual void Foreground(const std::string& name) = 0;
  virtual void Cursor(const std::string& name) = 0;
  virtual void ScreenSaver(bool active) = 0;
  virtual void HostGone() = 0;

  // Time passes (the library's timers and the system's run as they fall due).
  virtual void Wait(std::chrono::milliseconds duration) = 0;
  // The system takes the library's hooks out of the chain without telling it.
  enum class HookSet { Both, Keyboard, Mouse };
  virtual void HooksRemoved(HookSet hooks) = 0;
  // The session is locked: input goes to the lock screen, out of every hook's sight, and
  // whatever is down then is up at the unlock. Windows that asked are told of both.
  virtual void SessionLock() = 0;
  virtual void SessionUnlock() = 0;

  // Called after every command: a real desktop lets what is pending arrive.
  virtual void Settle() {}
  // Called once the whole script ran.
  virtual void Finish() {}
};
