#pragma once

#include <array>
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

  // The hook procedures, with the fields of the low-level event record that they use.
  HookVerdict KeyboardProcedure(int code, std::uint32_t message, std::uint32_t virtualKey,
                                std::uint32_t scanCode, std::uintptr_t extraInfo);
  // x and y: the event's point in screen coordinates.
  HookVerdict MouseProcedure(int code, std::uint32_t message, std::uint32_t mouseData,
                             std::int32_t x, std::int32_t y, std::uintptr_t extraInfo);

  // 1: swallow, 0: pass.
  int Dispatch(std::uint32_t message, std::uint32_t eventValue, bool fromLibrary);

  // The watchdog's tick: installs both hooks again when the system has stopped calling them.
  void CheckHooksAlive();

  // The session was locked or unlocked (the library's session notifications).
  void SessionLocked();
  void SessionUnlocked();

  // The library leaves this process: if it owned the shared state, the next process may take it.
  void ProcessDetaching();

 private:
  const HookSettings& Settings() const { return state_.Settings; }

  // Whether this process may change the shared state through `exportName`: it owns it, or no
  // running process does (then it takes it, from the state as loaded). If not, says so on the
  // debugger output.
  bool MayChangeState(std::string_view exportName);

  // Whether the host window lives; the first physical event after its end lets go of all.
  bool HostAlive(bool fromLibrary);
  // What the user holds, noted before an event is decided, and which physical presses reached
  // the system, noted once it is.
  void NoteUserHolds(std::uint8_t virtualKey, bool press, bool release);
  void NotePhysicalEvent(std::uint8_t virtualKey, bool press, bool release, bool swallowed);
  // Whether the user let go of the key while the library was injecting in its place: input
  // arriving meanwhile passes untouched, so a press injected for the key must be undone.
  bool ReleasedMeanwhile(std::uint8_t virtualKey) const;
  // 1 for a swallowed event, unless it is a release that the system is owed.
  int SwallowUnlessOwed(std::uint32_t message, std::uint16_t virtualKey) const;
  // What a physical event that arrives while a shortcut is being sent becomes.
  int DispatchDuringShortcut(std::uint32_t message, std::uint32_t eventValue);
  void DeferRelease(std::uint32_t message, std::uint32_t eventValue);
  void CatchUpDeferredReleases();
  // The keyboard or mouse filter, as the message says.
  int Filter(std::uint32_t message, std::uint32_t eventValue);

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
  int FilterKeyboard(std::uint32_t message, std::uint16_t virtualKey, std::uint16_t scanCode);
  KeyVerdict DecideKeyboard(std::uint32_t message, std::uint16_t virtualKey,
                            std::uint16_t scanCode);
  void TrackKoreanRightKeys(std::uint32_t message, std::uint16_t virtualKey,
                            std::uint16_t scanCode);
  ModifierFlags ReadModifierSnapshot();
  bool ReadModifier(Modifier modifier);
  // Whether the system holds the left or the right Shift (`side`), as the hooks saw it go down.
  bool ShiftDown(Modifier side);
  int ApplyShiftMemory(std::uint32_t message, std::uint16_t virtualKey);
  void ReleaseArmedShift();
  bool IsArmedShift(std::uint8_t virtualKey) const;
  int FilterFixedKeys(std::uint32_t message, std::uint16_t virtualKey, std::uint16_t scanCode,
                      LazyModifiers& held);
  int FilterSpace(std::uint32_t message, const ModifierFlags& held);
  int ConvertSpace(std::uint32_t message, const ModifierFlags& held, Modifier alone,
                   std::int32_t& sent, std::uint8_t virtualKey, std::uint8_t scanCode);

  // What the library holds down for the system in place of a physical key: put down by the
  // key's press, repeated by its auto-repeats, let go of by its release, whatever changed since.
  using HeldOutput = HookLocalState::HeldOutput;
  bool HasHeldOutput(std::uint8_t physicalKey) const {
    return local_.heldFor[physicalKey].kind != HeldOutput::Kind::None;
  }
  void PutDown(std::uint8_t physicalKey, const HeldOutput& output);
  void ContinueHeldOutput(std::uint32_t message, std::uint8_t physicalKey);
  void LetGo(std::uint8_t physicalKey);
  void InjectHeldOutput(const HeldOutput& output, bool press);
  // Whether some physical key holds this virtual key down for the system.
  bool HoldsForSystem(std::uint8_t virtualKey) const;
  // While paused, the keys whose press the library replaced still end as they began.
  int ContinueHeldOutputWhilePaused(std::uint32_t message, std::uint32_t eventValue);
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
  // The system let go of every key and button (the lock screen had them): the library forgets
  // all it held or tracked as down, without injecting anything.
  void ForgetEverythingHeld();

  // Remapping and synthesis.
  bool ApplyRemapping(std::uint32_t message, std::uint16_t virtualKey, std::uint16_t scanCode);
  static std::optional<HeldOutput> ParseTarget(std::string_view target);
  static std::uint8_t ModifierVirtualKey(Modifier modifier);
  static HeldOutput ModifierOutput(Modifier modifier);
  void PressModifier(Modifier modifier);
  void ReleaseModifier(Modifier modifier);
  void InjectMaskKey();

  // Hotkeys, the middle button and the actions they run.
  bool ApplyHotkey(std::uint32_t message, std::uint16_t virtualKey, std::uint16_t scanCode,
                   LazyModifiers& held);
  int ApplyMiddleButton(std::uint32_t message);
  void RunAction(std::string_view record);
  void SendShortcut(const ActionRecord& action);
  bool ReleasedDuringShortcut(Modifier modifier) const;

  // Mouse filter.
  int FilterMouse(std::uint32_t message, std::uint32_t mouseData);
  int FilterButtonRelease(std::uint32_t message, std::uint8_t button, std::int32_t& swallowFlag);
  int HoldBackRightPress();
  int FilterRightRelease();
  void LetHeldBackPressGoOnDrag(std::int32_t x, std::int32_t y);
  int FilterWheel(std::int16_t delta);
  bool ScrollSideways(std::int16_t delta, bool leftButton, bool rightButton);
  WindowHandle FindSpreadsheetScrollBar(WindowHandle target);

  // The watchdog's steps.
  bool HooksMissedInput(std::uint32_t now);
  bool SystemHoldsKeyNeverSeen();
  bool UnknownToLibrary(std::uint8_t virtualKey);
  void ReinstallHooks(std::uint32_t now);
  void LetGoOfWhatLostItsKey();

  // Away mode.
  bool SwitchesMouseDevices() const;
  HookPlatform::RuleNote MouseOffNote(HookPlatform::RuleNote::When when) const;
  void EnterAwayMode();
  bool EndsAwayMode(std::uint32_t message, std::uint32_t eventValue) const;
  // The user came back (input), or signed in again at the lock screen (no lock then).
  enum class AwayEnd { Input, Unlock };
  void LeaveAwayMode(AwayEnd end = AwayEnd::Input);

  // The rule file as it is now, checked for changes at most once per event.
  RuleCache& CurrentRules();
  std::string ReadRule(std::string_view section, std::string_view key);
  // The program in front when it has rules of its own, else nullptr.
  const HookLocalState::ForegroundProgram* ProgramInFront();
  // The entry of the program's section (`programSection`, may be nullptr) where it has one,
  // else that of `section`, the section for all programs.
  std::string ReadRuleInFront(const std::string* programSection, std::string_view section,
                              std::string_view key);

  HookState& state_;
  HookLocalState& local_;
  HookPlatform& platform_;
};
