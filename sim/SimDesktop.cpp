#include "sim/SimDesktop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <sys/stat.h>
#include <time.h>
#include <stdexcept>

#include "common/TextCase.h"
#include "hook/WindowsCodes.h"
#include "sim/SimFaults.h"

namespace {

std::filesystem::path MakePrivateFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tastron-sim.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot create a temporary folder for the rule file");
  }
  return pattern;
}

// Within this of the clock, a second write could carry the same time stamp as the first (FAT's
// resolution; NTFS and Linux file systems are finer).
constexpr std::uint64_t kRecentWriteNs = 2'000'000'000;

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x", value & 0xFFu);
  return text;
}

bool IsAltKey(std::uint8_t virtualKey) {
  return virtualKey == win::kVkMenu || virtualKey == win::kVkLMenu || virtualKey == win::kVkRMenu;
}

// Generic Shift, Ctrl and Alt codes reach the system as their left or right key.
std::uint8_t SidedKey(std::uint8_t virtualKey, std::uint8_t scanCode, bool extended) {
  switch (virtualKey) {
    case win::kVkShift:
      return scanCode == 0x36 ? win::kVkRShift : win::kVkLShift;
    case win::kVkControl:
      return extended ? win::kVkRControl : win::kVkLControl;
    case win::kVkMenu:
      return extended ? win::kVkRMenu : win::kVkLMenu;
    default:
      return virtualKey;
  }
}

// The side of a sided Shift, Ctrl or Alt taken from the extended flag alone.
std::uint8_t SideFromExtendedFlag(std::uint8_t virtualKey, bool extended) {
  switch (virtualKey) {
    case win::kVkLShift:
    case win::kVkRShift:
      return extended ? win::kVkRShift : win::kVkLShift;
    case win::kVkLControl:
    case win::kVkRControl:
      return extended ? win::kVkRControl : win::kVkLControl;
    case win::kVkLMenu:
    case win::kVkRMenu:
      return extended ? win::kVkRMenu : win::kVkLMenu;
    default:
      return virtualKey;
  }
}

const char* ButtonName(std::uint32_t message) {
  switch (message) {
    case win::kWmLButtonDown:
    case win::kWmLButtonUp:
      return "left";
    case win::kWmMButtonDown:
    case win::kWmMButtonUp:
      return "middle";
    default:
      return "right";
  }
}

}  // namespace

SimDesktop::SimDesktop(std::ostream& trace)
    : trace_(trace), folder_(MakePrivateFolder()), ruleFile_((folder_ / "config.ini").string()) {}

SimDesktop::~SimDesktop() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void SimDesktop::StartLikeHost() {
  HookEngine engine = Engine();
  engine.SetConfigINI(ruleFile_.c_str());
  engine.SetDevconPath(kDevconPath);
  engine.StartHook(kHostWindow);
  engine.EnableHookStatue(1);
}

void SimDesktop::PushSettings() {
  Engine().UpdateValue(&hostSettings_);
}

void SimDesktop::DeliverInput(const Input& input) {
  if (sessionLocked_) {
    lastInput_ = TickCount();
    return;
  }
  static constexpr std::uint32_t kMessages[3][2] = {
      {win::kWmLButtonUp, win::kWmLButtonDown},
      {win::kWmMButtonUp, win::kWmMButtonDown},
      {win::kWmRButtonUp, win::kWmRButtonDown},
  };
  switch (input.kind) {
    case Input::Kind::Key:
      DeliverKey(input.key.virtualKey, input.key.scanCode, input.extended, input.down, false);
      break;
    case Input::Kind::Button:
      DeliverMouse(kMessages[static_cast<int>(input.button)][input.down ? 1 : 0], 0, false);
      break;
    case Input::Kind::Wheel:
      DeliverMouse(win::kWmMouseWheel,
                   static_cast<std::uint32_t>(static_cast<std::uint16_t>(input.delta)) << 16,
                   false);
      break;
  }
}

void SimDesktop::DeliverDuringInjection() {
  std::vector<Input> waiting;
  waiting.swap(duringInjection_);
  for (const Input& input : waiting) DeliverInput(input);
}

// An event waiting for an injection that this input did not cause arrives right after it.
void SimDesktop::Key(KeyCodePair key, bool extended, bool down) {
  RunRuleWatcher();
  Input input;
  input.kind = Input::Kind::Key;
  input.key = key;
  input.extended = extended;
  input.down = down;
  DeliverInput(input);
  DeliverDuringInjection();
}

void SimDesktop::MouseButton(Button button, bool down) {
  RunRuleWatcher();
  Input input;
  input.kind = Input::Kind::Button;
  input.button = button;
  input.down = down;
  DeliverInput(input);
  DeliverDuringInjection();
}

void SimDesktop::Wheel(std::int16_t delta) {
  RunRuleWatcher();
  Input input;
  input.kind = Input::Kind::Wheel;
  input.delta = delta;
  DeliverInput(input);
  DeliverDuringInjection();
}

void SimDesktop::Move(std::int32_t dx, std::int32_t dy) {
  RunRuleWatcher();
  if (sessionLocked_) return;
  cursorX_ += dx;
  cursorY_ += dy;
  DeliverMouse(win::kWmMouseMove, 0, false);
  DeliverDuringInjection();
}

// Windows decides: a press is a system key while Alt is down and Ctrl is not (the key itself
// counting), and F10 always is. A release is a system key while Alt is down and Ctrl is not (the
// key going up no longer counting). Alt's own release is a system key only when no other key went
// down or up since Alt's system-key press (a lone Alt tap): after Alt+X or Ctrl+Alt it is plain.
std::uint32_t SimDesktop::KeyMessage(std::uint8_t virtualKey, bool down) {
  const bool isAlt = IsAltKey(virtualKey);
  const bool isCtrl = virtualKey == win::kVkControl || virtualKey == win::kVkLControl ||
                      virtualKey == win::kVkRControl;
  const bool altHeld = systemKeys_[win::kVkLMenu] || systemKeys_[win::kVkRMenu];
  const bool ctrlHeld = systemKeys_[win::kVkLControl] || systemKeys_[win::kVkRControl];
  if (down) {
    const bool system = virtualKey == win::kVkF10 || ((altHeld || isAlt) && !(ctrlHeld || isCtrl));
    altTapPending_ = isAlt && system;
    return system ? win::kWmSysKeyDown : win::kWmKeyDown;
  }
  if (isAlt) {
    const bool tap = altTapPending_;
    altTapPending_ = false;
    return tap ? win::kWmSysKeyUp : win::kWmKeyUp;
  }
  altTapPending_ = false;
  const bool ctrlStillHeld = ctrlHeld && !isCtrl;
  return virtualKey == win::kVkF10 || (altHeld && !ctrlStillHeld) ? win::kWmSysKeyUp
                                                                  : win::kWmKeyUp;
}

void SimDesktop::SetSystemKey(std::uint8_t virtualKey, bool down) {
  systemKeys_[virtualKey] = down;
  systemKeys_[win::kVkShift] = systemKeys_[win::kVkLShift] || systemKeys_[win::kVkRShift];
  systemKeys_[win::kVkControl] = systemKeys_[win::kVkLControl] || systemKeys_[win::kVkRControl];
  systemKeys_[win::kVkMenu] = systemKeys_[win::kVkLMenu] || systemKeys_[win::kVkRMenu];
}

template <typename Call>
HookVerdict SimDesktop::TimedHookCall(Call call) {
  const auto started = now_;
  ++hookDepth_;
  const HookVerdict verdict = call();
  --hookDepth_;
  if (hookDepth_ == 0) longestHookCall_ = std::max(longestHookCall_, now_ - started);
  return verdict;
}

void SimDesktop::DeliverKey(std::uint8_t virtualKey, std::uint8_t scanCode, bool extended,
                            bool down, bool injected) {
  const std::uint8_t sided = SidedKey(virtualKey, scanCode, extended);
  const std::uint32_t message = KeyMessage(sided, down);
  lastInput_ = TickCount();
  if (keyboardHooks_ > 0) {
    const HookVerdict verdict = TimedHookCall([&] {
      return Engine().KeyboardProcedure(win::kHcAction, message, sided, scanCode,
                                        extended ? win::kLowLevelExtended : 0,
                                        injected ? kLibraryInjectionTag : 0);
    });
    if (verdict == HookVerdict::Swallow) return;
  }
  const std::uint8_t held = sidesFromExtendedFlag_ ? SideFromExtendedFlag(sided, extended) : sided;
  // A release that no hook saw is the system's own business, not the library's.
  if (NoteRelease(held, down, injected) && keyboardHooks_ > 0) {
    releasesOfKeysUp_.push_back("key up " + Hex2(sided) + '/' + Hex2(scanCode));
  }
  SetSystemKey(held, down);
  trace_ << "key " << (down ? "down " : "up ") << Hex2(sided) << '/' << Hex2(scanCode)
         << (extended ? " ext" : "") << (injected ? " injected" : "") << '\n';
}

void SimDesktop::DeliverMouse(std::uint32_t message, std::uint32_t mouseData, bool injected) {
  lastInput_ = TickCount();
  if (mouseHooks_ > 0) {
    const HookVerdict verdict = TimedHookCall([&] {
      return Engine().MouseProcedure(win::kHcAction, message, mouseData, cursorX_, cursorY_,
                                     injected ? kLibraryInjectionTag : 0);
    });
    if (verdict == HookVerdict::Swallow) return;
  }
  const char* tag = injected ? " injected" : "";
  switch (message) {
    case win::kWmMouseMove:
      return;
    case win::kWmMouseWheel:
      trace_ << "wheel " << static_cast<std::int16_t>(mouseData >> 16) << tag << '\n';
      return;
    case win::kWmLButtonDown:
    case win::kWmRButtonDown:
    case win::kWmMButtonDown:
    case win::kWmLButtonUp:
    case win::kWmRButtonUp:
    case win::kWmMButtonUp: {
      const bool down = message == win::kWmLButtonDown || message == win::kWmRButtonDown ||
                        message == win::kWmMButtonDown;
      const std::string name = ButtonName(message);
      const std::uint8_t key = name == "left"     ? win::kVkLButton
                               : name == "middle" ? win::kVkMButton
                                                  : win::kVkRButton;
      if (NoteRelease(key, down, injected) && mouseHooks_ > 0) {
        releasesOfKeysUp_.push_back("mouse " + name + " up");
      }
      systemKeys_[key] = down;
      trace_ << "mouse " << name << (down ? " down" : " up") << tag << '\n';
      return;
    }
    default:
      return;
  }
}

// The system holds one state per key, which both the user's presses and the library's set: a
// physical release is news when the system does not hold the key and no press of it reached the
// system since the last physical release (the library may have let go of it in between, or
// pressed it for the user, as for a drag that began with a held-back press).
bool SimDesktop::NoteRelease(std::uint8_t key, bool down, bool injected) {
  if (down) {
    pressedSinceRelease_[key] = true;
    return false;
  }
  if (injected) return false;
  const bool news = !systemKeys_[key] && !pressedSinceRelease_[key];
  pressedSinceRelease_[key] = false;
  return news;
}

HookHandle SimDesktop::InstallHook(HookKind kind) {
  if (kind == HookKind::Keyboard) {
    if (keyboardFails_) return 0;
    ++keyboardHooks_;
    return kKeyboardHookHandle;
  }
  if (mouseFails_) return 0;
  ++mouseHooks_;
  return kMouseHookHandle;
}

// The watchdog's timer fires every period from its start; a tick that time passed by inside a
// hook call (waiting for the device tool) comes once, when the thread is free again.
void SimDesktop::AdvanceTime(std::chrono::milliseconds duration) {
  const auto end = now_ + duration;
  const std::chrono::milliseconds period{kHookWatchdogPeriodMs};
  while (now_ < end) {
    now_ = watchdog_ ? std::min(end, std::max(now_, nextTick_)) : end;
    DoDueToolEffects();
    if (watchdog_ && now_ >= nextTick_) {
      while (nextTick_ <= now_) nextTick_ += period;
      Engine().CheckHooksAlive();
    }
  }
}

void SimDesktop::RemoveHook(HookHandle hook) {
  // Removing a hook the system already removed fails and changes nothing.
  if (hook == kKeyboardHookHandle && keyboardHooks_ > 0) --keyboardHooks_;
  if (hook == kMouseHookHandle && mouseHooks_ > 0) --mouseHooks_;
}

void SimDesktop::InjectKey(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) {
  DeliverDuringInjection();
  DeliverKey(virtualKey, scanCode, (flags & win::kKeyEventExtended) != 0,
             (flags & win::kKeyEventKeyUp) == 0, true);
}

void SimDesktop::InjectMouse(std::uint32_t flags) {
  static constexpr std::pair<std::uint32_t, std::uint32_t> kFlagMessages[] = {
      {win::kMouseLeftDown, win::kWmLButtonDown},   {win::kMouseLeftUp, win::kWmLButtonUp},
      {win::kMouseRightDown, win::kWmRButtonDown},  {win::kMouseRightUp, win::kWmRButtonUp},
      {win::kMouseMiddleDown, win::kWmMButtonDown}, {win::kMouseMiddleUp, win::kWmMButtonUp},
  };
  DeliverDuringInjection();
  for (const auto& [flag, message] : kFlagMessages) {
    if (flags & flag) DeliverMouse(message, 0, true);
  }
}

void SimDesktop::NoteFileCall(const char* what) {
  if (hookDepth_ == 0) return;
  ++fileCallsInHookCalls_;
  ReportSimFault(std::string("a hook call made a file system call: ") + what);
}

HookPlatform::RuleFileCheck SimDesktop::CheckRuleFile(const char* file) {
  NoteFileCall("CheckRuleFile");
  RuleFileCheck check;
  check.mayHaveChanged = changeSignalled_;
  changeSignalled_ = false;
  struct stat status {};
  if (::stat(file, &status) == 0) {
    check.exists = true;
    check.size = static_cast<std::uint64_t>(status.st_size);
    check.lastWrite = static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1000000000u +
                      static_cast<std::uint64_t>(status.st_mtim.tv_nsec);
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::uint64_t nowNs = static_cast<std::uint64_t>(now.tv_sec) * 1000000000u +
                                static_cast<std::uint64_t>(now.tv_nsec);
    check.writtenRecently = check.lastWrite + kRecentWriteNs > nowNs;
  }
  return check;
}

HookPlatform::RuleFileRead SimDesktop::ReadRuleFile(const char* file, std::uint64_t largest) {
  NoteFileCall("ReadRuleFile");
  RuleFileRead read;
  struct stat status {};
  if (failReads_) {
    read.outcome = RuleFileRead::Outcome::Failed;
  } else if (::stat(file, &status) != 0) {
    read.outcome = RuleFileRead::Outcome::Missing;
  } else if (static_cast<std::uint64_t>(status.st_size) > largest) {
    read.outcome = RuleFileRead::Outcome::TooLarge;
  } else {
    ++ruleFileReads_;
    std::ifstream in(file, std::ios::binary);
    read.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    read.outcome = in.bad() ? RuleFileRead::Outcome::Failed : RuleFileRead::Outcome::Read;
  }
  return read;
}

SimDesktop::ProcessMemory& SimDesktop::MemoryOf(ProcessIdentity process) {
  for (auto& memory : otherMemory_) {
    if (memory->process == process) return *memory;
  }
  otherMemory_.push_back(std::make_unique<ProcessMemory>());
  otherMemory_.back()->process = process;
  return *otherMemory_.back();
}

HookEngine SimDesktop::Engine() {
  if (process_ == kHostProcess) return HookEngine(state_, local_, *this);
  ProcessMemory& memory = MemoryOf(process_);
  return HookEngine(memory.state, memory.local, *this);
}

HookState& SimDesktop::State() {
  return process_ == kHostProcess ? state_ : MemoryOf(process_).state;
}

void SimDesktop::StartOtherProgram(ProcessIdentity process) {
  if (IsProcessRunning(process)) return;
  std::erase_if(running_, [&](const ProcessIdentity& p) { return p.id == process.id; });
  running_.push_back(process);
}

void SimDesktop::ActAsProcess(ProcessIdentity process) {
  StartOtherProgram(process);
  process_ = process;
}

void SimDesktop::EndProcess(ProcessIdentity process) {
  std::erase(running_, process);
  const HookState& memory = process == kHostProcess ? state_ : MemoryOf(process).state;
  if (memory.Owner == process) {
    keyboardHooks_ = 0;
    mouseHooks_ = 0;
  }
}

void SimDesktop::InterleaveBeforeOwnerExchange(int nth, ProcessIdentity other,
                                               std::function<void(HookEngine&)> calls) {
  interleaved_ = InterleavedClaim{nth, other, std::move(calls)};
}

ProcessIdentity SimDesktop::ExchangeSharedOwner(const ProcessIdentity& expected,
                                                const ProcessIdentity& desired) {
  if (interleaved_ && --interleaved_->countdown == 0) {
    const InterleavedClaim claim = std::move(*interleaved_);
    interleaved_.reset();
    const ProcessIdentity calling = process_;
    ActAsProcess(claim.process);
    HookEngine engine = Engine();
    claim.calls(engine);
    process_ = calling;
  }
  const ProcessIdentity before = sharedOwner_;
  if (before == expected) sharedOwner_ = desired;
  return before;
}

void SimDesktop::RunRuleWatcher() {
  if (!holdWatcher_ && watchedRules_ != nullptr) watchedRules_->Refresh(*this, watchedFile_);
}

// As another program saves a file: the whole content replaced at once, noticed by the folder's
// change notification like any write.
void SimDesktop::LoadRuleFile(const std::string& bytes) {
  const std::string temporary = ruleFile_ + ".saving";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write the rule file");
  }
  std::filesystem::rename(temporary, ruleFile_);
  SignalRuleFileChange();
}

void SimDesktop::WriteRule(const char* file, std::string_view section, std::string_view key,
                           std::string_view value) {
  NoteFileCall("WriteRule");
  WriteEntry(file, section, key, value);
}

void SimDesktop::DeleteRule(const char* file, std::string_view section, std::string_view key) {
  NoteFileCall("DeleteRule");
  DeleteEntry(file, section, key);
}

void SimDesktop::WriteEntry(const char* file, std::string_view section, std::string_view key,
                            std::string_view value) {
  profile_.WriteString(file, section, key, value);
  SignalRuleFileChange();
  trace_ << "ini " << section << ' ' << key << '=' << value << '\n';
}

void SimDesktop::DeleteEntry(const char* file, std::string_view section, std::string_view key) {
  profile_.DeleteKey(file, section, key);
  SignalRuleFileChange();
  trace_ << "ini " << section << ' ' << key << " deleted\n";
}

namespace {

std::string StartLine(std::string_view file, std::string_view parameters, int show) {
  return "run \"" + std::string(file) + "\" \"" + std::string(parameters) + "\" " +
         std::to_string(show) + "\n";
}

}  // namespace

void SimDesktop::StartProgram(std::string_view file, std::string_view parameters, int show) {
  if (programStartsStalled_) {
    stalledStarts_.push_back(StartLine(file, parameters, show));
    return;
  }
  trace_ << StartLine(file, parameters, show);
}

void SimDesktop::StartProgramAtOnce(std::string_view file, std::string_view parameters, int show) {
  trace_ << StartLine(file, parameters, show);
}

void SimDesktop::StallProgramStarts(bool stalled) {
  programStartsStalled_ = stalled;
  if (stalled) return;
  for (const std::string& line : stalledStarts_) trace_ << line;
  stalledStarts_.clear();
}

void SimDesktop::RunDeviceTool(const char* path, std::string_view parameters,
                               std::chrono::milliseconds wait, const RuleNote& note,
                               bool monitorOffWhenEnded) {
  trace_ << StartLine(path, parameters, 0);
  // A run starts once every earlier run has ended; the hook waits for it at most `wait`.
  const auto start = toolRuns_.empty() ? now_ : std::max(now_, toolRuns_.back().end);
  const auto end = start + toolDuration_;
  toolRuns_.push_back({std::string(parameters), start, end});
  if (note.when == RuleNote::When::BeforeRun) dueEffects_.push_back({start, note});
  if (note.when == RuleNote::When::AfterSuccess && toolSucceeds_)
    dueEffects_.push_back({end, note});
  if (monitorOffWhenEnded) dueEffects_.push_back({end, std::nullopt});
  now_ += std::min(wait, end - now_);
}

// In the order of the runs, as the worker that runs the tool does them.
void SimDesktop::DoDueToolEffects() {
  std::size_t done = 0;
  while (done < dueEffects_.size() && dueEffects_[done].due <= now_) {
    const std::optional<RuleNote>& note = dueEffects_[done].note;
    if (!note) {
      BroadcastMonitorOff();
    } else if (note->value.empty()) {
      DeleteEntry(note->file.c_str(), note->section, note->key);
    } else {
      WriteEntry(note->file.c_str(), note->section, note->key, note->value);
    }
    ++done;
  }
  dueEffects_.erase(dueEffects_.begin(), dueEffects_.begin() + static_cast<std::ptrdiff_t>(done));
}

void SimDesktop::HooksRemoved(HookSet hooks) {
  if (hooks != HookSet::Mouse) SystemRemovesHook(HookKind::Keyboard);
  if (hooks != HookSet::Keyboard) SystemRemovesHook(HookKind::Mouse);
}

// The lock screen has the input until the unlock; the system lets go of everything held there.
void SimDesktop::SessionLock() {
  sessionLocked_ = true;
  if (sessionWatched_) Engine().SessionLocked();
}

void SimDesktop::SessionUnlock() {
  sessionLocked_ = false;
  systemKeys_.fill(false);
  altTapPending_ = false;
  if (sessionWatched_) Engine().SessionUnlocked();
}

void SimDesktop::PostMessageTo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) {
  if (!IsWindow(window)) return;  // PostMessage to a destroyed window fails
  if (window == kHostWindow) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%x", message);
    trace_ << "post host " << number << ' ' << wParam << ' ' << lParam << '\n';
    return;
  }
  if (message == win::kWmHScroll) {
    const WindowHandle bar = static_cast<WindowHandle>(lParam);
    trace_ << "hscroll " << NameOf(window) << ' ' << wParam << ' ' << (bar ? NameOf(bar) : "0")
           << '\n';
  }
}

void SimDesktop::BroadcastMonitorOff() {
  trace_ << "monitor off\n";
}

void SimDesktop::SetScreenSaverActive(bool active) {
  screenSaverActive_ = active;
  trace_ << "screensaver " << (active ? "on" : "off") << '\n';
}

std::string SimDesktop::ExpandEnvironment(std::string_view text) {
  std::string expanded;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string_view::npos;
    if (close != std::string_view::npos &&
        EqualsIgnoringCase(text.substr(i + 1, close - i - 1), "windir")) {
      expanded += "C:\\Windows";
      i = close + 1;
    } else {
      expanded += text[i++];
    }
  }
  if (expanded.size() > 259) expanded.resize(259);
  return expanded;
}

void SimDesktop::DeclareWindow(const std::string& name, const std::string& className, bool hidden,
                               const std::string* parentName, const std::string* program) {
  if (WindowByName(name)) return;
  WindowHandle parent = 0;
  if (parentName != nullptr) {
    const auto found = WindowByName(*parentName);
    if (!found) return;
    parent = *found;
  }
  const WindowHandle handle = 0x20000 + 0x10 * (windows_.size() + 1);
  windows_.push_back({name, className, hidden, parent, handle, program ? *program : "", {}});
}

void SimDesktop::AnswerForProgram(const std::string& windowName, WindowProgram answer) {
  for (SimWindow& window : windows_) {
    if (EqualsIgnoringCase(window.name, windowName)) window.answer = std::move(answer);
  }
}

HookPlatform::WindowProgram SimDesktop::ProgramOfWindow(WindowHandle window) {
  ++programQueries_;
  const SimWindow* found = Find(window);
  while (found != nullptr && found->parent != 0) found = Find(found->parent);
  if (found != nullptr && found->answer) return *found->answer;
  // A window no script gave a program (the host's too) belongs to one without rules.
  return {found != nullptr && !found->program.empty() ? found->program : "unnamed.exe", true};
}

void SimDesktop::SetRule(const std::string& section, const std::string& key,
                         const std::string& value) {
  profile_.WriteString(ruleFile_, section, key, value);
  SignalRuleFileChange();
}

void SimDesktop::RemoveRule(const std::string& section, const std::string& key) {
  profile_.DeleteKey(ruleFile_, section, key);
  SignalRuleFileChange();
}

void SimDesktop::RemoveRuleSection(const std::string& section) {
  profile_.DeleteSection(ruleFile_, section);
  SignalRuleFileChange();
}

std::optional<WindowHandle> SimDesktop::WindowByName(const std::string& name) const {
  if (name.empty()) return std::nullopt;
  if (EqualsIgnoringCase(name, "host")) return kHostWindow;
  for (const SimWindow& window : windows_) {
    if (EqualsIgnoringCase(window.name, name)) return window.handle;
  }
  return std::nullopt;
}

const SimDesktop::SimWindow* SimDesktop::Find(WindowHandle window) const {
  for (const SimWindow& candidate : windows_) {
    if (candidate.handle == window) return &candidate;
  }
  return nullptr;
}

std::string SimDesktop::NameOf(WindowHandle window) const {
  if (window == kHostWindow) return "host";
  const SimWindow* found = Find(window);
  return found ? found->name : "?";
}

bool SimDesktop::IsWindow(WindowHandle window) {
  if (window == kHostWindow) return hostAlive_;
  return Find(window) != nullptr;
}

std::string SimDesktop::ClassName(WindowHandle window) {
  if (window == kHostWindow) return hostAlive_ ? "#32770" : "";
  const SimWindow* found = Find(window);
  return found ? found->className.substr(0, 259) : "";
}

WindowHandle SimDesktop::FindChildWindow(WindowHandle parent, WindowHandle after,
                                         const char* className) {
  bool started = after == 0;
  for (const SimWindow& window : windows_) {
    if (window.parent != parent) continue;
    if (!started) {
      started = window.handle == after;
      continue;
    }
    if (EqualsIgnoringCase(window.className, className)) return window.handle;
  }
  return 0;
}

bool SimDesktop::IsWindowVisible(WindowHandle window) {
  if (window == kHostWindow) return hostAlive_;
  for (const SimWindow* found = Find(window); found != nullptr; found = Find(found->parent)) {
    if (found->hidden) return false;
    if (found->parent == 0) return true;
    if (found->parent == kHostWindow) return hostAlive_;
  }
  return false;
}
