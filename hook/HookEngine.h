#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/Modifiers.h"
#include "common/RuleFormat.h"
#include "hook/HookLocalState.h"
#include "hook/HookPlatform.h"
#include "hook/HookState.h"

// What a hook procedure does with an event: hand it to the next hook, or answer
// kSwallowedResult so that it reaches neither later hooks nor any window.
enum class HookVerdict { CallNext, Swallow };
inline constexpr std::intptr_t kSwallowedResult = -1;

// How often the watchdog asks whether the system still calls the hooks, and how long they must
// have been silent (while input came that they missed, or while the system holds a key they
// never saw go down) to count as gone: the first tick after that puts them back.
inline constexpr std::uint32_t kHookWatchdogPeriodMs = 500;
inline constexpr std::uint32_t kSilentHooksMs = 250;

// The extra information of every event the library injects. The dispatcher lets its own input
// through while it swallows everything else during a shortcut.
inline constexpr std::uintptr_t kLibraryInjectionTag = 0x54535452;  // "TSTR"

// The hook engine: the six exports, the two hook procedures, the dispatcher and the filters, on
// one HookState and the process's HookLocalState. It holds no state of its own, so the DLL may
// build one per call.
class HookEngine {
 public:
  HookEngine(HookState& state, HookLocalState& local, HookPlatform& platform)
      : state_(state), local_(local), platform_(platform) {}

  // The exports.
  std::int32_t StartHook(WindowHandle hostWindow);
  std::int32_t StopHook();
  void SetConfigINI(const char* path);
  void SetDevconPath(const char* path);
  void EnableHookStatue(std::int32_t enabled);
  void UpdateValue(const HookSettings* settings);

  // The hook procedures, with the fields of the low-level event record that they use (`flags`:
  // the keyboard event's, of which the extended flag counts).
  HookVerdict KeyboardProcedure(int code, std::uint32_t message, std::uint32_t virtualKey,
                                std::uint32_t scanCode, std::uint32_t flags,
                                std::uintptr_t extraInfo);
  // x and y: the event's point in screen coordinates.
  HookVerdict MouseProcedure(int code, std::uint32_t message, std::uint32_t mouseData,
                             std::int32_t x, std::int32_t y, std::uintptr_t extraInfo);

  // 1: swallow, 0: pass. `record`: the physical key's or button's press record, or
  // PressRecords::kNone (the wheel, the library's own input).
  int Dispatch(std::uint32_t message, std::uint32_t eventValue, std::size_t record,
               bool fromLibrary);

  // The watchdog's tick: installs both hooks again when the system has stopped calling them.
  void CheckHooksAlive();

  // The time of the tap-hold key still undecided has passed (its timer on the hook thread).
  void TapHoldTimeUp();

  // The session was locked or unlocked (the library's session notifications).
  void SessionLocked();
  void SessionUnlocked();

  // The library leaves this process: if it owned the hooks, the next process may claim them.
  void ProcessDetaching();

 private:
  const HookSettings& Settings() const { return state_.Settings; }

  // Whether this process may change its state through `exportName`: it owns the hooks, or it
  // claims them now because no running process does. If not, says so on the debugger output.
  bool MayChangeState(std::string_view exportName);

  // Whether the host window lives; the first physical event after its end lets go of all.
  bool HostAlive(bool fromLibrary);
  // What the user holds and which press records begin, noted before an event is decided, and
  // what a press became, noted once it is.
  void NoteUserHolds(std::uint8_t virtualKey, bool press, bool release, std::size_t record);
  void NotePhysicalEvent(bool press, bool swallowed, std::size_t record);
  void NoteReleaseDecided(std::uint8_t virtualKey, std::uint8_t pressedAs);
  // Whether the user let go of the key while the library was injecting in its place: input
  // arriving meanwhile passes untouched, so a press injected for the key must be undone.
  bool ReleasedMeanwhile(std::uint8_t virtualKey) const;
  // 1 for a swallowed event, unless some press of its key reached the system.
  int SwallowUnlessOwed(std::size_t record) const;
  // What a physical event that arrives while a shortcut is being sent becomes.
  int DispatchDuringShortcut(std::uint32_t message, std::uint32_t eventValue, std::size_t record);
  int ReleaseWhileBusy(std::uint32_t message, std::uint32_t eventValue, std::size_t record);
  void DeferRelease(std::uint32_t message, std::uint32_t eventValue, std::size_t record);
  void CatchUpDeferredReleases();
  // The keyboard or mouse filter, as the message says.
  int Filter(std::uint32_t message, std::uint32_t eventValue, std::size_t record);

  // The modifier snapshot of one event, each modifier read from the system when first needed
  // (each read is a call into the system, and most keys need none).
  class LazyModifiers {
   public:
    explicit LazyModifiers(HookEngine& engine) : engine_(engine) {}
    bool Held(Modifier modifier) {
      auto& value = values_[static_cast<std::size_t>(modifier)];
      if (!value) value = engine_.ReadModifier(modifier);
      return *value;
    }
    const ModifierFlags& Get() {
      for (std::size_t i = 0; i < kModifierCount; ++i) {
        flags_[static_cast<Modifier>(i)] = Held(static_cast<Modifier>(i));
      }
      return flags_;
    }

   private:
    HookEngine& engine_;
    std::array<std::optional<bool>, kModifierCount> values_;
    ModifierFlags flags_;
  };

  // Keyboard filter and its steps.
  enum class KeyVerdict { Pass, Swallow, SwallowEvenIfOwed, WinL };
  int FilterKeyboard(std::uint32_t message, std::uint16_t virtualKey, std::uint16_t scanCode,
                     std::size_t record);
  KeyVerdict DecideKeyboard(std::uint32_t message, std::uint16_t virtualKey, std::uint16_t scanCode,
                            std::size_t record);
  // A repeat or the release of a key whose press was decided.
  KeyVerdict FollowRecord(std::uint32_t message, std::size_t record);
  void TrackKoreanRightKeys(std::uint32_t message, std::uint8_t virtualKey, std::uint16_t scanCode,
                            std::size_t record);
  ModifierFlags ReadModifierSnapshot();
  bool ReadModifier(Modifier modifier);
  // Whether the system holds the left or the right Shift (`side`), as the hooks saw it go down.
  bool ShiftDown(Modifier side);
  // Where the system may hold a modifier under its other side's name (see ModifierSides).
  bool HeldUnderOtherName(std::uint8_t virtualKey, const std::bitset<256>& heldForSystem) const;
  bool SystemHoldsForRelease(std::uint8_t virtualKey);
  // Whether the system holds this key down, a Shift under either name as ShiftDown reads it.
  bool SystemHoldsKey(std::uint8_t virtualKey);
  int ApplyShiftMemory(std::uint32_t message, std::uint16_t virtualKey);
  void ReleaseArmedShift();
  bool IsArmedShift(std::uint8_t virtualKey) const;
  int FilterFixedKeys(std::uint16_t virtualKey, std::uint16_t scanCode, LazyModifiers& held,
                      std::size_t record);
  int FilterSpace(const ModifierFlags& held, std::size_t record);
  bool ConvertSpace(const ModifierFlags& held, Modifier alone, std::uint8_t virtualKey,
                    std::uint8_t scanCode, std::size_t record);

  // What the presses became, and how their repeats and releases follow that. `Say`: how much
  // the library may still do for a repeat (all, no action while paused, nothing once the host
  // window has gone).
  enum class Say { Full, Paused, None };
  void PutDown(std::size_t record, const HeldOutput& output);
  void EndRecord(std::size_t record);
  void LetGoOfOutput(PressRecord& pressed);
  void InjectHeldOutput(const HeldOutput& output, bool press);
  int RepeatRecorded(std::size_t record, Say say);
  int ReleaseRecorded(std::size_t record);
  int UnrecordedRelease(std::uint8_t virtualKey);
  std::bitset<256> HeldForSystem() const;
  int ContinueWhilePaused(std::uint32_t message, std::uint8_t virtualKey, std::size_t record);
  int AfterHostGone(std::uint32_t message, std::uint8_t virtualKey, std::size_t record);
  int FollowWithoutDeciding(std::uint32_t message, std::uint8_t virtualKey, std::size_t record,
                            Say say);
  // Runs `step` with the re-entry flag cleared, so that what it injects passes the hooks
  // untouched also outside a hook call (an export, the watchdog) or nested in one.
  template <typename Step>
  void WithInjectionPassing(Step step) {
    const std::int32_t idle = state_.Idle;
    state_.Idle = 0;
    step();
    state_.Idle = idle;
  }
  // Also outside hook calls.
  void LetGoOfArmedShift();
  void LetGoOfEverything();
  // Forgets all the library held or tracked as down, without injecting anything.
  void ForgetEverythingHeld();

  // Remapping and synthesis.
  bool ApplyRemapping(std::uint16_t virtualKey, std::uint16_t scanCode, std::size_t record);
  // The rule of a key's press: a remapping's target or a tap-hold rule's value, as the first
  // entry found has it (ProgramRules.cpp).
  struct KeyRule {
    enum class Kind { None, Remap, TapHold };
    Kind kind = Kind::None;
    std::string value;
  };
  KeyRule FindKeyRule(std::string_view keyCodes);
  static std::optional<HeldOutput> ParseTarget(std::string_view target);
  static std::uint8_t ModifierVirtualKey(Modifier modifier);
  static HeldOutput ModifierOutput(Modifier modifier);
  void PressModifier(Modifier modifier);
  void ReleaseModifier(Modifier modifier);
  void InjectMaskKey();

  // Tap and hold: one key, a tap of one key and a hold of another (TapHold.cpp).
  struct TapHoldRule {
    HeldOutput tap;
    HeldOutput hold;
    std::uint32_t timeMs;
  };
  static TapHoldRule ParseTapHold(std::string_view value);
  void BeginTapHold(std::size_t record, const TapHoldRule& rule);
  // What an event does while a key is undecided; nullopt when it goes on to the filters.
  std::optional<int> WhileTapHoldUndecided(std::uint32_t message, std::uint32_t eventValue,
                                           std::size_t record);
  std::optional<int> HoldBack(std::uint32_t message, std::uint32_t eventValue, std::size_t record);
  std::optional<int> AfterTapHoldDecided(std::uint32_t message, std::uint32_t eventValue,
                                         std::size_t record);
  enum class TapHoldOutcome { Tap, Hold };
  void DecideTapHold(TapHoldOutcome outcome);
  void ReplayHeldBack(const HookLocalState::UndecidedTapHold& decided);
  // Outside a hook call: decides the undecided key as a hold now (its time is up, a pause).
  void HoldUndecidedNow();
  // Forgets the undecided key and what it held back: nothing of it reached the system.
  void DropUndecidedTapHold();

  // Hotkeys, the middle button and the actions they run.
  bool ApplyHotkey(std::uint16_t virtualKey, std::uint16_t scanCode, LazyModifiers& held,
                   std::size_t record);
  // The action record of the hotkey this press with these modifiers is; empty when none.
  std::string FindHotkeyAction(std::uint16_t virtualKey, std::uint16_t scanCode,
                               LazyModifiers& held);
  // Paused by the user: a press of the pause hotkey resumes (its repeats and release are
  // swallowed); every other event passes, what was decided before the pause ending as it began.
  int WhilePausedByUser(std::uint32_t message, std::uint32_t eventValue, std::size_t record,
                        std::uint8_t eventKey);
  void PauseByUser(bool paused);
  int ApplyMiddleButton();
  void RunAction(std::string_view record);
  void SendShortcut(const ActionRecord& action);
  bool ReleasedDuringShortcut(Modifier modifier) const;

  // Mouse filter.
  int FilterMouse(std::uint32_t message, std::uint32_t mouseData, std::size_t record);
  void LetHeldBackPressGoOnDrag(std::int32_t x, std::int32_t y);
  int FilterWheel(std::int16_t delta);
  bool ScrollSideways(std::int16_t delta, bool rightButton);
  WindowHandle FindSpreadsheetScrollBar(WindowHandle target);

  // The watchdog's steps.
  bool HooksMissedInput(std::uint32_t now);
  bool SystemHoldsKeyNeverSeen();
  bool UnknownToLibrary(std::uint8_t virtualKey, const std::bitset<256>& heldForSystem);
  void ReinstallHooks(std::uint32_t now);
  void LetGoOfWhatLostItsKey();

  // Away mode.
  bool SwitchesMouseDevices() const;
  HookPlatform::DeviceToolEntry MouseOffEntry(HookPlatform::DeviceToolEntry::When when) const;
  void EnterAwayMode();
  bool EndsAwayMode(std::uint32_t message, std::uint32_t eventValue) const;
  // The user came back (input), or signed in again at the lock screen (no lock then).
  enum class AwayEnd { Input, Unlock };
  void LeaveAwayMode(AwayEnd end = AwayEnd::Input);

  // The rule file as it is now, checked for changes at most once per event.
  RuleCache& CurrentRules();
  std::string ReadRule(std::string_view section, std::string_view key);
  // The program in front when it has rules of its own, else nullptr.
  const ParsedRules::ProgramSections* ProgramInFront();
  // The same for a key's press, asked only where some program has a rule of that key.
  const ParsedRules::ProgramSections* ProgramInFrontFor(std::string_view keyCodes);
  // The entry of the program's section (`programSection`, may be nullptr) where it has one,
  // else that of `section`, the section for all programs.
  std::string ReadRuleInFront(const std::string* programSection, std::string_view section,
                              std::string_view key);

  HookState& state_;
  HookLocalState& local_;
  HookPlatform& platform_;
};
