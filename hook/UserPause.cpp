#include "common/HostMessages.h"
#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

// A game or a remote desktop wants the keyboard as it is: the pause hotkey (or the tray) pauses
// everything the library decides. What a press put down before still ends at its release, and
// the Shift that Shift memory holds is let go of, as at an editor's pause. The host hears of it
// to say so on its banner and tray icon.
void HookEngine::PauseByUser(bool paused) {
  if (local_.pausedByUser == paused) return;
  if (paused) HoldUndecidedNow();
  local_.pausedByUser = paused;
  if (paused) LetGoOfArmedShift();
  platform_.PostMessageTo(state_.HostWindow, host_message::kUserPause, paused ? 1 : 0, 0);
}

// Only a key's first press can resume: a key held since before the pause goes on as it began
// (its repeats and its release follow its record).
int HookEngine::WhilePausedByUser(std::uint32_t message, std::uint32_t eventValue,
                                  std::size_t record, std::uint8_t eventKey) {
  const bool keyPress = message >= win::kWmKeyDown && message <= win::kWmKeyLast &&
                        win::IsKeyPress(message) && record != PressRecords::kNone &&
                        local_.presses[record].fate == PressRecord::Fate::Deciding;
  if (keyPress && Settings().Key_NoteBookMode) {
    LazyModifiers held(*this);
    const std::string action = FindHotkeyAction(static_cast<std::uint16_t>(eventValue & 0xFFFFu),
                                                static_cast<std::uint16_t>(eventValue >> 16), held);
    if (!action.empty() && ParseActionRecord(action).kind == ActionRecord::Kind::PauseTastron) {
      local_.presses[record].fate = PressRecord::Fate::Action;
      PauseByUser(false);
      return 1;
    }
  }
  return ContinueWhilePaused(message, eventKey, record);
}
