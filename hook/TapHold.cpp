// Tap and hold: one key gives one key when tapped and another while held (Caps Lock tapped is
// the Korean/English key, held it is Ctrl). Its press decides nothing yet. It is a tap when it
// is let go before its time with no other key both pressed and let go meanwhile; a hold when
// the time passes with it down, when another key is pressed and let go, or when a mouse button
// is pressed. Presses of other keys wait meanwhile, and follow once it is decided, in order.
#include <utility>

#include "common/RuleRecord.h"
#include "hook/HookEngine.h"
#include "hook/WindowsCodes.h"

using Fate = PressRecord::Fate;

namespace {

constexpr std::uint32_t kDefaultTapHoldMs = 200;
constexpr std::uint32_t kShortestTapHoldMs = 50;
constexpr std::uint32_t kLongestTapHoldMs = 1000;
// A timer that comes while the library is busy tries again this soon.
constexpr std::uint32_t kBusyRetryMs = 10;

bool IsModifierKey(std::uint8_t virtualKey) {
  return (virtualKey >= win::kVkLShift && virtualKey <= 0xA5) || virtualKey == win::kVkLWin ||
         virtualKey == win::kVkRWin;
}

}  // namespace

// "TAPvv/TAPss/HOLDvv/HOLDss/MS". A modifier goes in as its physical key does (the left ones
// without the extended flag, see KeySynthesis.cpp), so that a held Caps Lock is the left Ctrl
// on every system; any other key as a remapping's target. The time is bounded to 50-1000 ms.
HookEngine::TapHoldRule HookEngine::ParseTapHold(std::string_view value) {
  const std::vector<std::string> fields = SplitRecord(value);
  const auto output = [&fields](std::size_t first) {
    if (fields.size() < first + 2) return HeldOutput{};
    const std::optional<HeldOutput> parsed = ParseTarget(fields[first] + "/" + fields[first + 1]);
    if (!parsed) return HeldOutput{};
    if (parsed->kind == HeldOutput::Kind::Key && IsModifierKey(parsed->virtualKey)) {
      for (std::size_t i = 0; i < kModifierCount; ++i) {
        const auto modifier = static_cast<Modifier>(i);
        if (ModifierVirtualKey(modifier) == parsed->virtualKey) return ModifierOutput(modifier);
      }
    }
    return *parsed;
  };
  TapHoldRule rule{output(0), output(2), kDefaultTapHoldMs};
  if (fields.size() >= 5 && !fields[4].empty()) {
    const std::int32_t ms = ReadDecimalField(fields[4]);
    rule.timeMs = ms < static_cast<std::int32_t>(kShortestTapHoldMs) ? kShortestTapHoldMs
                  : ms > static_cast<std::int32_t>(kLongestTapHoldMs)
                      ? kLongestTapHoldMs
                      : static_cast<std::uint32_t>(ms);
  }
  return rule;
}

// A press that comes within the time after the key's own tap holds the tap key down, with its
// repeats: Space tapped, then held, types spaces.
void HookEngine::BeginTapHold(std::size_t record, const TapHoldRule& rule) {
  const std::uint32_t now = platform_.TickCount();
  HookLocalState::LastTap& last = local_.lastTap;
  const bool quickTap = last.record == record && now - last.at < last.timeMs;
  last = {};
  if (quickTap) {
    PutDown(record, rule.tap);
    return;
  }
  local_.presses[record].fate = Fate::Undecided;
  HookLocalState::UndecidedTapHold& key = local_.tapHold;
  key = {};
  key.record = record;
  key.tap = rule.tap;
  key.hold = rule.hold;
  key.pressedAt = now;
  key.timeMs = rule.timeMs;
  platform_.StartTapHoldTimer(rule.timeMs);
}

// The key's own repeats are swallowed, its release is the tap. A key pressed and let go
// meanwhile, or a button's press, makes it a hold; keys held since before it follow their
// records, the wheel and the buttons' releases go on as usual.
std::optional<int> HookEngine::WhileTapHoldUndecided(std::uint32_t message,
                                                     std::uint32_t eventValue, std::size_t record) {
  const HookLocalState::UndecidedTapHold& key = local_.tapHold;
  if (platform_.TickCount() - key.pressedAt >= key.timeMs) {
    DecideTapHold(TapHoldOutcome::Hold);
  } else if (record == key.record) {
    if (!win::IsKeyRelease(message)) return 1;
    DecideTapHold(TapHoldOutcome::Tap);
    local_.presses[record] = {};
    return 1;
  } else if (win::IsKeyPress(message)) {
    return HoldBack(message, eventValue, record);
  } else if (win::IsButtonPress(message) ||
             (win::IsKeyRelease(message) && local_.presses[record].fate == Fate::Waiting)) {
    DecideTapHold(TapHoldOutcome::Hold);
  } else {
    return std::nullopt;
  }
  // Deciding may have begun another tap-hold among the presses that followed.
  return AfterTapHoldDecided(message, eventValue, record);
}

std::optional<int> HookEngine::AfterTapHoldDecided(std::uint32_t message, std::uint32_t eventValue,
                                                   std::size_t record) {
  if (local_.tapHold.record == PressRecords::kNone) return std::nullopt;
  return WhileTapHoldUndecided(message, eventValue, record);
}

// A new press, or a repeat of one held back, waits; the one past the last place makes the key a
// hold.
std::optional<int> HookEngine::HoldBack(std::uint32_t message, std::uint32_t eventValue,
                                        std::size_t record) {
  HookLocalState::UndecidedTapHold& key = local_.tapHold;
  PressRecord& pressed = local_.presses[record];
  if (pressed.fate != Fate::Deciding && pressed.fate != Fate::Waiting) return std::nullopt;
  if (key.heldBackCount == key.heldBack.size()) {
    DecideTapHold(TapHoldOutcome::Hold);
    return AfterTapHoldDecided(message, eventValue, record);
  }
  key.heldBack[key.heldBackCount++] = {message, eventValue, record};
  pressed.fate = Fate::Waiting;
  return 1;
}

// The key is no longer undecided before anything goes in: what follows may begin another.
void HookEngine::DecideTapHold(TapHoldOutcome outcome) {
  const HookLocalState::UndecidedTapHold decided = std::exchange(local_.tapHold, {});
  platform_.StopTapHoldTimer();
  if (outcome == TapHoldOutcome::Hold) {
    PutDown(decided.record, decided.hold);
  } else {
    InjectHeldOutput(decided.tap, true);
    InjectHeldOutput(decided.tap, false);
    local_.lastTap = {decided.record, platform_.TickCount(), decided.timeMs};
  }
  ReplayHeldBack(decided);
}

// Each press held back is decided now as if it came now; one that passes is injected, having
// been swallowed. Paused meanwhile (the pause hotkey was among them), the rest pass untouched.
// One that a tap-hold key among them holds back again waits for that key.
void HookEngine::ReplayHeldBack(const HookLocalState::UndecidedTapHold& decided) {
  for (std::size_t i = 0; i < decided.heldBackCount; ++i) {
    const HookLocalState::UndecidedTapHold::HeldBackPress& held = decided.heldBack[i];
    PressRecord& pressed = local_.presses[held.record];
    if (!pressed.Active()) continue;
    if (pressed.fate == Fate::Waiting) pressed.fate = Fate::Deciding;
    int verdict = 0;
    if (state_.HookEnabled != 0 && !local_.pausedByUser) {
      verdict = Filter(held.message, held.eventValue, held.record);
    } else if (pressed.fate != Fate::Deciding) {
      verdict = RepeatRecorded(held.record, Say::Paused);
    }
    NotePhysicalEvent(true, verdict == 1, held.record);
    if (verdict == 1) continue;
    const bool extended = held.record < PressRecords::kByScanCode && (held.record & 0x100u) != 0;
    platform_.InjectKey(static_cast<std::uint8_t>(held.eventValue & 0xFFu),
                        static_cast<std::uint8_t>(held.eventValue >> 16),
                        extended ? win::kKeyEventExtended : 0);
  }
}

void HookEngine::TapHoldTimeUp() {
  platform_.StopTapHoldTimer();
  if (local_.tapHold.record == PressRecords::kNone) return;
  // Without its host the library decides nothing new (its first event lets go of the rest).
  if (!platform_.IsWindow(state_.HostWindow)) {
    DropUndecidedTapHold();
    return;
  }
  if (state_.Idle == 0 || state_.SuppressAll) {
    platform_.StartTapHoldTimer(kBusyRetryMs);
    return;
  }
  HoldUndecidedNow();
}

// As a hook call decides an event: what it injects passes, and releases that arrive meanwhile
// are caught up after.
void HookEngine::HoldUndecidedNow() {
  if (local_.tapHold.record == PressRecords::kNone) return;
  if (state_.Idle == 0) {
    DecideTapHold(TapHoldOutcome::Hold);
    return;
  }
  state_.Idle = 0;
  local_.rulesCheckedThisEvent = false;
  local_.foregroundCheckedThisEvent = false;
  DecideTapHold(TapHoldOutcome::Hold);
  CatchUpDeferredReleases();
  state_.Idle = 1;
}

void HookEngine::DropUndecidedTapHold() {
  if (local_.tapHold.record == PressRecords::kNone) return;
  local_.tapHold = {};
  platform_.StopTapHoldTimer();
}
