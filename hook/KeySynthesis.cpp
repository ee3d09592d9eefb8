#include <array>

#include "common/KeyCodePair.h"
#include "common/RuleRecord.h"
#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

namespace {

// How the library presses and releases each modifier, indexed by Modifier: with the extended
// flag of the physical key (left Ctrl, Alt and both Shifts without, the right Ctrl and Alt and
// the Windows keys with it). The system may take the side of Ctrl, Alt and Shift from that flag
// (Wine does), and applications read an extended Alt as AltGr; a left Ctrl pressed again as
// "extended" would leave a right Ctrl down once the user lets go of the real key.
struct ModifierKey {
  std::uint8_t virtualKey;
  std::uint8_t scanCode;
  std::uint32_t pressFlags;
  std::uint32_t releaseFlags;
};

constexpr std::array<ModifierKey, kModifierCount> kModifierKeys = {{
    {win::kVkLControl, 0x1D, 0, 2},
    {win::kVkLMenu, 0x38, 0, 2},
    {win::kVkLShift, 0x2A, 0, 2},
    {win::kVkLWin, 0x5B, 1, 3},
    {win::kVkRControl, 0x1D, 1, 3},
    {win::kVkRMenu, 0x38, 1, 3},
    {win::kVkRShift, 0x36, 0, 2},
    {win::kVkRWin, 0x5C, 1, 3},
}};

// An unassigned virtual key. Pressed between a press and a release of Alt or Win, it keeps the
// system from taking them as a lone tap (which opens a menu or the Start menu).
constexpr std::uint8_t kMaskVirtualKey = 0xE8;

}  // namespace

std::uint8_t HookEngine::ModifierVirtualKey(Modifier modifier) {
  return kModifierKeys[static_cast<std::size_t>(modifier)].virtualKey;
}

HeldOutput HookEngine::ModifierOutput(Modifier modifier) {
  const ModifierKey& key = kModifierKeys[static_cast<std::size_t>(modifier)];
  return {HeldOutput::Kind::Key, key.virtualKey, key.scanCode, key.pressFlags, key.releaseFlags};
}

void HookEngine::PressModifier(Modifier modifier) {
  const ModifierKey& key = kModifierKeys[static_cast<std::size_t>(modifier)];
  platform_.InjectKey(key.virtualKey, key.scanCode, key.pressFlags);
}

void HookEngine::ReleaseModifier(Modifier modifier) {
  const ModifierKey& key = kModifierKeys[static_cast<std::size_t>(modifier)];
  platform_.InjectKey(key.virtualKey, key.scanCode, key.releaseFlags);
}

void HookEngine::InjectMaskKey() {
  platform_.InjectKey(kMaskVirtualKey, 0, 0);
  platform_.InjectKey(kMaskVirtualKey, 0, win::kKeyEventKeyUp);
}

// What a rule's target puts down: a key, pressed with the extended flag, or a mouse button;
// nothing for a target that names neither.
std::optional<HeldOutput> HookEngine::ParseTarget(std::string_view target) {
  const std::vector<std::string> fields = SplitRecord(target);
  if (fields.size() < 2) return std::nullopt;
  const std::uint32_t virtualKey = ReadHexField(fields[0]);
  const std::uint32_t scanCode = ReadHexField(fields[1]);
  if (virtualKey >= 1) {
    return HeldOutput{HeldOutput::Kind::Key, static_cast<std::uint8_t>(virtualKey),
                      static_cast<std::uint8_t>(scanCode), win::kKeyEventExtended,
                      win::kKeyEventExtended | win::kKeyEventKeyUp};
  }
  switch (scanCode) {
    case 0x10:
      return HeldOutput{HeldOutput::Kind::Button, 0, 0, win::kMouseLeftDown, win::kMouseLeftUp};
    case 0x11:
      return HeldOutput{HeldOutput::Kind::Button, 0, 0, win::kMouseMiddleDown, win::kMouseMiddleUp};
    case 0x12:
      return HeldOutput{HeldOutput::Kind::Button, 0, 0, win::kMouseRightDown, win::kMouseRightUp};
    default:
      return std::nullopt;
  }
}

// Only a press gets here (the repeats and the release follow its record): it puts the target
// down in the key's place, or begins a tap-hold.
bool HookEngine::ApplyRemapping(std::uint16_t virtualKey, std::uint16_t scanCode,
                                std::size_t record) {
  const KeyRule rule = FindKeyRule(FormatKeyCodes(virtualKey, scanCode));
  switch (rule.kind) {
    case KeyRule::Kind::None:
      return false;
    case KeyRule::Kind::TapHold:
      BeginTapHold(record, ParseTapHold(rule.value));
      return true;
    case KeyRule::Kind::Remap:
      // The source key never reaches the system, also when its rule produces nothing.
      if (const std::optional<HeldOutput> output = ParseTarget(rule.value)) {
        PutDown(record, *output);
      }
      return true;
  }
  return false;
}

std::string HookEngine::ReadRule(std::string_view section, std::string_view key) {
  // No path: no rules (an empty name would make the profile functions look elsewhere).
  if (state_.ConfigIniPath[0] == '\0') return {};
  return CurrentRules().Find(section, key);
}

RuleCache& HookEngine::CurrentRules() {
  if (!local_.rulesCheckedThisEvent) {
    local_.rules.TakeLatest(platform_, state_.ConfigIniPath);
    local_.rulesCheckedThisEvent = true;
  }
  return local_.rules;
}
