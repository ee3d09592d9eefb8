// Rules for one program: the sections "KeyChange:EXE", "TapHold:EXE", "HotKey:EXE" and
// "MouseMap2:EXE" apply
// while a window of that program is in front, before the sections for all programs.
#include "common/ProgramNames.h"
#include "hook/HookEngine.h"

const ParsedRules::ProgramSections* HookEngine::ProgramInFront() {
  if (state_.ConfigIniPath[0] == '\0') return nullptr;
  const RuleCache& rules = CurrentRules();
  // Most rule files have no program sections: their events never ask for the foreground.
  if (!rules.HasProgramRules()) return nullptr;
  HookLocalState::ForegroundProgram& front = local_.foreground;
  if (!local_.foregroundCheckedThisEvent) {
    local_.foregroundCheckedThisEvent = true;
    const WindowHandle window = platform_.ForegroundWindow();
    // Asking for a window's program opens its process: once per window that comes to the front.
    if (!front.known || window != front.window || !front.settled) {
      const HookPlatform::WindowProgram program =
          window == 0 ? HookPlatform::WindowProgram{} : platform_.ProgramOfWindow(window);
      front.window = window;
      front.known = true;
      front.settled = program.settled;
      front.key = ProgramNameKey(platform_.ProgramNames(), program.exeName);
    }
  }
  // A process that cannot be asked is no program: the rules for all programs apply.
  if (front.key.empty()) return nullptr;
  return rules.SectionsOf(front.key);
}

// The program in front where some program has a remapping or hotkey of this key, else none (the
// rules for all programs decide the key, whatever is in front).
const ParsedRules::ProgramSections* HookEngine::ProgramInFrontFor(std::string_view keyCodes) {
  if (state_.ConfigIniPath[0] == '\0' || !CurrentRules().SomeProgramHasRuleFor(keyCodes)) {
    return nullptr;
  }
  return ProgramInFront();
}

std::string HookEngine::ReadRuleInFront(const std::string* programSection, std::string_view section,
                                        std::string_view key) {
  if (state_.ConfigIniPath[0] == '\0') return {};
  // The program's entry decides even when it is empty: "not here".
  if (programSection != nullptr) {
    if (std::optional<std::string> entry = CurrentRules().FindEntry(*programSection, key)) {
      return std::move(*entry);
    }
  }
  return CurrentRules().Find(section, key);
}

// For one key the first entry found decides: the program's tap-hold rule, its remapping, the
// tap-hold rule for all programs, the remapping for all. An empty entry of the program's keeps
// the key itself there; an empty one for all programs is no rule.
HookEngine::KeyRule HookEngine::FindKeyRule(std::string_view keyCodes) {
  if (state_.ConfigIniPath[0] == '\0') return {};
  const ParsedRules::ProgramSections* front = ProgramInFrontFor(keyCodes);
  const RuleCache& rules = CurrentRules();
  const auto rule = [](KeyRule::Kind kind, std::string value) {
    return KeyRule{value.empty() ? KeyRule::Kind::None : kind, std::move(value)};
  };
  if (front != nullptr) {
    if (std::optional<std::string> entry = rules.FindEntry(front->tapHold, keyCodes)) {
      return rule(KeyRule::Kind::TapHold, std::move(*entry));
    }
    if (std::optional<std::string> entry = rules.FindEntry(front->keyChange, keyCodes)) {
      return rule(KeyRule::Kind::Remap, std::move(*entry));
    }
  }
  if (std::string value = rules.Find("TapHold", keyCodes); !value.empty()) {
    return {KeyRule::Kind::TapHold, std::move(value)};
  }
  return rule(KeyRule::Kind::Remap, rules.Find("KeyChange", keyCodes));
}
