#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

namespace {

constexpr std::uint16_t kHangulRightAltScan = 0x38;
constexpr std::uint16_t kHanjaRightCtrlScan = 0x1D;

std::uint32_t PackHotkey(std::uint16_t virtualKey, std::uint16_t scanCode) {
  return static_cast<std::uint32_t>(virtualKey) | (static_cast<std::uint32_t>(scanCode) << 16);
}

}  // namespace

void HookEngine::TrackKoreanRightKeys(std::uint32_t message, std::uint16_t virtualKey,
                                      std::uint16_t scanCode) {
  const std::int32_t down = message == win::kWmKeyDown ? 1 : 0;
  if (virtualKey == win::kVkHangul && scanCode == kHangulRightAltScan) state_.HangulKeyDown = down;
  if (virtualKey == win::kVkHanja && scanCode == kHanjaRightCtrlScan) state_.HanjaKeyDown = down;
}

bool HookEngine::ReadModifier(Modifier modifier) {
  switch (modifier) {
    case Modifier::LCtrl:
      return platform_.IsKeyDown(win::kVkLControl);
    case Modifier::LAlt:
      return platform_.IsKeyDown(win::kVkLMenu);
    case Modifier::LShift:
      return ShiftDown(Modifier::LShift);
    case Modifier::LWin:
      return platform_.IsKeyDown(win::kVkLWin);
    // The right Ctrl and right Alt of Korean keyboards report as the Hanja and Hangul keys; the
    // library's own tracking stands for them.
    case Modifier::RCtrl:
      return state_.HanjaKeyDown != 0;
    case Modifier::RAlt:
      return state_.HangulKeyDown != 0;
    case Modifier::RShift:
      return ShiftDown(Modifier::RShift);
    case Modifier::RWin:
      return platform_.IsKeyDown(win::kVkRWin);
  }
  return false;
}

ModifierFlags HookEngine::ReadModifierSnapshot() {
  return LazyModifiers(*this).Get();
}

// A swallowed release whose press reached the system is given back here, in one place, so no
// filter step can leave a key stuck down. Shift memory's swallow is the one deliberate exception.
int HookEngine::FilterKeyboard(std::uint32_t message, std::uint16_t virtualKey,
                               std::uint16_t scanCode) {
  switch (DecideKeyboard(message, virtualKey, scanCode)) {
    case KeyVerdict::Pass:
      return 0;
    case KeyVerdict::Swallow:
      return SwallowUnlessOwed(message, virtualKey);
    case KeyVerdict::SwallowEvenIfOwed:
      return 1;
    case KeyVerdict::WinL:
      // Both the press and the release of L are swallowed; the away mode begins on the release.
      // An L that went down before the Windows key is no Win+L: its release just passes.
      if (SwallowUnlessOwed(message, virtualKey) == 0) return 0;
      if (win::IsKeyRelease(message)) {
        EnterAwayMode();
      } else {
        // With L swallowed the system would see a lone tap of the Windows key when it comes up,
        // and open the Start menu over the switched-off monitor.
        InjectMaskKey();
      }
      return 1;
  }
  return 0;
}

HookEngine::KeyVerdict HookEngine::DecideKeyboard(std::uint32_t message, std::uint16_t virtualKey,
                                                  std::uint16_t scanCode) {
  TrackKoreanRightKeys(message, virtualKey, scanCode);

  // The key that fired a hotkey: its release is swallowed once, whatever is held by now.
  if (win::IsKeyRelease(message) && PackHotkey(virtualKey, scanCode) == state_.LastHotkey) {
    state_.LastHotkey = 0;
    return KeyVerdict::Swallow;
  }

  // Read when first needed: most keys need no modifiers at all. Shift memory may release the
  // armed Shift below, so the snapshot is taken before it does.
  LazyModifiers held(*this);
  if (Settings().EnableShiftMemory && state_.ShiftArmed) held.Get();

  // Shift memory swallows the release of a lone Shift on purpose: the system keeps Shift down
  // for the next key.
  const bool shiftMemorySwallows =
      Settings().EnableShiftMemory && ApplyShiftMemory(message, virtualKey) == 1;
  // A key whose press put something down in its place goes on as it began, whatever the rules
  // and switches say by now.
  if (HasHeldOutput(static_cast<std::uint8_t>(virtualKey))) {
    ContinueHeldOutput(message, static_cast<std::uint8_t>(virtualKey));
    return shiftMemorySwallows ? KeyVerdict::SwallowEvenIfOwed : KeyVerdict::Swallow;
  }
  // A release whose press reached the system passes whatever a rule says (the system is owed
  // it), so it looks nothing up: neither the rule file, nor the program in front, nor the
  // modifiers. Typing pays for the rules at its presses only.
  const bool owedRelease =
      win::IsKeyRelease(message) && local_.pressReachedSystem.test(virtualKey & 0xFFu);
  const bool remapped =
      !owedRelease && Settings().Key_KeyChange && ApplyRemapping(message, virtualKey, scanCode);
  if (shiftMemorySwallows) return KeyVerdict::SwallowEvenIfOwed;
  if (remapped) return KeyVerdict::Swallow;

  if (!owedRelease && Settings().Key_NoteBookMode &&
      ApplyHotkey(message, virtualKey, scanCode, held)) {
    return KeyVerdict::Swallow;
  }

  if (virtualKey == win::kVkL) {
    const ModifierFlags& modifiers = held.Get();
    const bool windowsKeyAlone = (modifiers[Modifier::LWin] || modifiers[Modifier::RWin]) &&
                                 modifiers.NoneExcept(Modifier::LWin, Modifier::RWin);
    if (windowsKeyAlone) return Settings().Lock_Monitor ? KeyVerdict::WinL : KeyVerdict::Pass;
  }

  return FilterFixedKeys(message, virtualKey, scanCode, held) == 0 ? KeyVerdict::Pass
                                                                   : KeyVerdict::Swallow;
}

int HookEngine::FilterFixedKeys(std::uint32_t message, std::uint16_t virtualKey,
                                std::uint16_t scanCode, LazyModifiers& held) {
  const bool press = win::IsKeyPress(message);
  switch (virtualKey) {
    case win::kVkSpace:
      return FilterSpace(message, held.Get());
    case win::kVkHanja:
      // The right Ctrl of Korean keyboards acts as left Ctrl, injected as the left key is sent
      // (without the extended flag, which would make it a right Ctrl).
      // Its release finds the left Ctrl noted and lets go of it before it gets here.
      if (scanCode != kHanjaRightCtrlScan || !Settings().Lock_UseRCtrl) return 0;
      if (press) PutDown(win::kVkHanja, ModifierOutput(Modifier::LCtrl));
      return 1;
    case win::kVkCapital:
      return Settings().Lock_CapsLock ? 1 : 0;
    case win::kVkInsert:
      return Settings().Lock_Insert ? 1 : 0;
    case win::kVkNumLock:
      if (!Settings().Lock_NumLock) return 0;
      if (press) PutDown(win::kVkNumLock, {HeldOutput::Kind::NeutralNumLock});
      return 1;
    case win::kVkLWin:
    case win::kVkRWin:
      return Settings().Lock_Win ? 1 : 0;
    default:
      return 0;
  }
}

// Space with exactly one left modifier becomes a key of the Korean layout. The Space release
// that belongs to such a press is swallowed too.
int HookEngine::ConvertSpace(std::uint32_t message, const ModifierFlags& held, Modifier alone,
                             std::int32_t& sent, std::uint8_t virtualKey, std::uint8_t scanCode) {
  if (win::IsKeyPress(message) && held[alone] && held.NoneExcept(alone)) {
    sent = 1;
    platform_.InjectKey(virtualKey, scanCode, win::kKeyEventExtended);
    platform_.InjectKey(virtualKey, scanCode, win::kKeyEventExtended | win::kKeyEventKeyUp);
    return 1;
  }
  if (win::IsKeyRelease(message) && sent) {
    sent = 0;
    return 1;
  }
  return 0;
}

int HookEngine::FilterSpace(std::uint32_t message, const ModifierFlags& held) {
  int result = 0;
  if (Settings().Lock_ShiftSpace) {
    result |=
        ConvertSpace(message, held, Modifier::LShift, state_.HanToggleSent, win::kVkHangul, 0xF2);
  }
  if (Settings().Lock_CtrlSpace) {
    result |= ConvertSpace(message, held, Modifier::LCtrl, state_.HanjaSent, win::kVkHanja, 0xF1);
  }
  return result;
}
