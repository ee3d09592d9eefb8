#pragma once

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

  // Physical input.
  virtual void Key(KeyCodePair key, bool extended, bool down) = 0;
  virtual void MouseButton(Button button, bool down) = 0;
  virtual void Wheel(std::int16_t delta) = 0;
  virtual void Move() = 0;

  // Windows are named; "host" names the host window.
  virtual bool HasWindow(const std::string& name) const = 0;
  virtual void DeclareWindow(const std::string& name, const std::string& className, bool hidden,
                            const std::string* parentName) = 0;
  // An empty name means none.
  virtual void Focus(const std::string& name) = 0;
  virtual void Cursor(const std::string& name) = 0;
  virtual void ScreenSaver(bool active) = 0;
  virtual void HostGone() = 0;

  // Called after every command: a real desktop lets what is pending arrive.
  virtual void Settle() {}
};
