#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

namespace {

constexpr std::uint16_t kHangulRightAltScan = 0x38;
constexpr std::uint16_t kHanjaRightCtrlScan = 0x1D;

}  // namespace

// Whether the Korean right Ctrl and right Alt are down, for the hotkeys and the wheel. A press
// counts as it comes (also as a system key, with Alt held); the release is its key's, also when
// another keyboard layout in front names it otherwise by then.
void HookEngine::TrackKoreanRightKeys(std::uint32_t message, std::uint8_t virtualKey,
                                      std::uint16_t scanCode, std::size_t record) {
  const bool press = win::IsKeyPress(message);
  const bool release = win::IsKeyRelease(message);
  if (!press && !release) return;
  const std::uint8_t pressedAs =
      release && local_.presses[record].Active() ? local_.presses[record].pressedAs : virtualKey;
  const std::int32_t down = press ? 1 : 0;
  if (virtualKey == win::kVkHangul && scanCode == kHangulRightAltScan) state_.HangulKeyDown = down;
  if (virtualKey == win::kVkHanja && scanCode == kHanjaRightCtrlScan) state_.HanjaKeyDown = down;
  if (release && pressedAs == win::kVkHangul && scanCode == kHangulRightAltScan) {
    state_.HangulKeyDown = 0;
  }
  if (release && pressedAs == win::kVkHanja && scanCode == kHanjaRightCtrlScan) {
    state_.HanjaKeyDown = 0;
  }
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
                               std::uint16_t scanCode, std::size_t record) {
  switch (DecideKeyboard(message, virtualKey, scanCode, record)) {
    case KeyVerdict::Pass:
      return 0;
    case KeyVerdict::Swallow:
      return SwallowUnlessOwed(record);
    case KeyVerdict::SwallowEvenIfOwed:
      return 1;
    case KeyVerdict::WinL:
      // Both the press and the release of L are swallowed; the away mode begins on the release.
      // With L swallowed the system would see a lone tap of the Windows key when it comes up,
      // and open the Start menu over the switched-off monitor.
      local_.presses[record].fate = PressRecord::Fate::WinL;
      InjectMaskKey();
      return 1;
  }
  return 0;
}

// A key whose press was decided goes on as it began, whatever the rules, the switches and the
// program in front say by now: its release looks nothing up, so typing pays for the rules at
// its presses only. The press of a key the hooks saw no press of is decided here.
HookEngine::KeyVerdict HookEngine::DecideKeyboard(std::uint32_t message, std::uint16_t virtualKey,
                                                  std::uint16_t scanCode, std::size_t record) {
  // Read when first needed: most keys need no modifiers at all. Shift memory may release the
  // armed Shift below, so the snapshot is taken before it does.
  LazyModifiers held(*this);
  if (Settings().EnableShiftMemory && state_.ShiftArmed) held.Get();

  // Shift memory swallows the release of a lone Shift on purpose: the system keeps Shift down
  // for the next key.
  const bool shiftMemorySwallows =
      Settings().EnableShiftMemory && ApplyShiftMemory(message, virtualKey) == 1;
  const PressRecord& pressed = local_.presses[record];
  if (pressed.fate != PressRecord::Fate::Deciding) {
    const KeyVerdict verdict = pressed.Active() ? FollowRecord(message, record)
                               : UnrecordedRelease(static_cast<std::uint8_t>(virtualKey)) == 0
                                   ? KeyVerdict::Pass
                                   : KeyVerdict::SwallowEvenIfOwed;
    return shiftMemorySwallows ? KeyVerdict::SwallowEvenIfOwed : verdict;
  }
  if (!win::IsKeyPress(message)) return KeyVerdict::Pass;

  const bool remapped = Settings().Key_KeyChange && ApplyRemapping(virtualKey, scanCode, record);
  if (remapped) return KeyVerdict::Swallow;

  if (Settings().Key_NoteBookMode && ApplyHotkey(virtualKey, scanCode, held, record)) {
    return KeyVerdict::Swallow;
  }

  if (virtualKey == win::kVkL) {
    const ModifierFlags& modifiers = held.Get();
    const bool windowsKeyAlone = (modifiers[Modifier::LWin] || modifiers[Modifier::RWin]) &&
                                 modifiers.NoneExcept(Modifier::LWin, Modifier::RWin);
    if (windowsKeyAlone) return Settings().Lock_Monitor ? KeyVerdict::WinL : KeyVerdict::Pass;
  }

  return FilterFixedKeys(virtualKey, scanCode, held, record) == 0 ? KeyVerdict::Pass
                                                                  : KeyVerdict::Swallow;
}

HookEngine::KeyVerdict HookEngine::FollowRecord(std::uint32_t message, std::size_t record) {
  if (win::IsKeyPress(message)) {
    return RepeatRecorded(record, Say::Full) == 0 ? KeyVerdict::Pass : KeyVerdict::Swallow;
  }
  if (!win::IsKeyRelease(message)) return KeyVerdict::Pass;
  const bool winL = local_.presses[record].fate == PressRecord::Fate::WinL;
  const int result = ReleaseRecorded(record);
  if (winL) EnterAwayMode();
  return result == 0 ? KeyVerdict::Pass : KeyVerdict::SwallowEvenIfOwed;
}

int HookEngine::FilterFixedKeys(std::uint16_t virtualKey, std::uint16_t scanCode,
                                LazyModifiers& held, std::size_t record) {
  switch (virtualKey) {
    case win::kVkSpace:
      return FilterSpace(held.Get(), record);
    case win::kVkHanja:
      // The right Ctrl of Korean keyboards acts as left Ctrl, injected as the left key is sent
      // (without the extended flag, which would make it a right Ctrl).
      if (scanCode != kHanjaRightCtrlScan || !Settings().Lock_UseRCtrl) return 0;
      PutDown(record, ModifierOutput(Modifier::LCtrl));
      return 1;
    case win::kVkCapital:
      return Settings().Lock_CapsLock ? 1 : 0;
    case win::kVkInsert:
      return Settings().Lock_Insert ? 1 : 0;
    case win::kVkNumLock:
      if (!Settings().Lock_NumLock) return 0;
      PutDown(record, {HeldOutput::Kind::NeutralNumLock});
      return 1;
    case win::kVkLWin:
    case win::kVkRWin:
      return Settings().Lock_Win ? 1 : 0;
    default:
      return 0;
  }
}

// Space with exactly one left modifier becomes a key of the Korean layout, tapped at the press
// and at each repeat; its release is swallowed too.
bool HookEngine::ConvertSpace(const ModifierFlags& held, Modifier alone, std::uint8_t virtualKey,
                              std::uint8_t scanCode, std::size_t record) {
  if (!held[alone] || !held.NoneExcept(alone)) return false;
  PutDown(record, {HeldOutput::Kind::Tap, virtualKey, scanCode, win::kKeyEventExtended,
                   win::kKeyEventExtended | win::kKeyEventKeyUp});
  return true;
}

int HookEngine::FilterSpace(const ModifierFlags& held, std::size_t record) {
  if (Settings().Lock_ShiftSpace &&
      ConvertSpace(held, Modifier::LShift, win::kVkHangul, 0xF2, record)) {
    return 1;
  }
  if (Settings().Lock_CtrlSpace &&
      ConvertSpace(held, Modifier::LCtrl, win::kVkHanja, 0xF1, record)) {
    return 1;
  }
  return 0;
}
