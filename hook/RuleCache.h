#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "common/Modifiers.h"

#include "hook/HookPlatform.h"
#include "profile/ProfileIndex.h"

// One reading of the rule file, parsed and indexed for the look-ups of every key event.
class ParsedRules {
 public:
  // The rule sections of one program, as the index names them ("keychange:memo.exe", ...).
  // Sections of one kind whose names differ only in letter case beyond ASCII ("KeyChange:É.exe"
  // and "KeyChange:é.exe") are one program's: the first in the file counts, as for ASCII.
  struct ProgramSections {
    std::string keyChange;
    std::string tapHold;
    std::string hotkey;
    std::string mouse;
    std::string hotkeyProgram;  // what follows "hotkey:", the key of its hotkey modifiers
  };

  ParsedRules() = default;
  // Program names are converted from the code page and made keys here, once per reading.
  ParsedRules(std::string_view text, const ProgramNameText& names);

  const ProfileIndex& Index() const { return index_; }
  // The modifier sets of the hotkeys of a key code pair in the section of `program` (as in
  // ProgramSections::hotkeyProgram; empty: the section for all programs).
  const std::vector<ModifierFlags>* HotkeyModifiers(std::string_view program,
                                                    std::string_view keyCodes) const;
  // Whether some program has a rule section of its own ("KeyChange:notepad.exe", ...): without
  // any, no event needs to know the program in front.
  bool HasProgramRules() const { return !programs_.empty(); }
  // The sections of the program whose name has this key (ProgramNameKey), or none.
  const ProgramSections* SectionsOf(std::u16string_view programKey) const {
    const auto found = programs_.find(programKey);
    return found == programs_.end() ? nullptr : &found->second;
  }
  // Whether some program's own remapping, tap-hold or hotkey section has an entry for this key code
  // pair
  // ("vv/ss"): a key without one is decided alike whatever program is in front, so its press
  // need not ask which one is (a call into the system at every key typed).
  bool SomeProgramHasRuleFor(std::string_view keyCodes) const {
    return programKeyCodes_.find(keyCodes) != programKeyCodes_.end();
  }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
    std::size_t operator()(std::u16string_view text) const {
      return std::hash<std::u16string_view>{}(text);
    }
  };

  template <typename Value>
  using ByName = std::unordered_map<std::string, Value, Hash, std::equal_to<>>;

  // Files the section under its program's key; false for a name without one.
  bool AddProgramSection(const ProgramNameText& names, std::string_view kind,
                         const std::string& section, const std::string& program);

  ProfileIndex index_;
  // By program (lower case, "" for all programs), then by key code pair.
  ByName<ByName<std::vector<ModifierFlags>>> hotkeyModifiers_;
  std::unordered_map<std::u16string, ProgramSections, Hash, std::equal_to<>> programs_;
  std::unordered_set<std::string, Hash, std::equal_to<>> programKeyCodes_;
};

// The rule file as the library last read it, in two halves on two threads. The watcher (a
// thread of its own on Windows; points the simulated desktop chooses) checks the file and reads
// and parses it; a hook call only takes the last rule set the watcher finished, so that no key
// waits for a file system (a share that dropped off the network, a placeholder of a cloud
// drive, a virus scan of a file just saved: past 300 ms Windows removes the hook). New rules
// may therefore apply a few events after the file changed, never later than the watcher's
// next round.
//
// At each round the watcher asks the platform whether a change was signalled in the file's
// folder (a write, a resize, a file replaced by rename) and for the file's size and last-write
// time (which catch a change whose signal was lost or late, or a folder that cannot be
// watched). A file written so recently that another write could share its time stamp is read
// again at every round, for as long as the stamp's resolution lasts after it was first seen (a
// stamp in the future never ends that by itself). A read that fails (a sharing violation, an
// I/O error, a file over kLargestRuleFile) keeps the rules read before and is tried again after
// kRetryAfterFailureMs, or at once when the file changes.
class RuleCache {
 public:
  static constexpr std::uint64_t kLargestRuleFile = 16 * 1024 * 1024;
  static constexpr std::uint32_t kRetryAfterFailureMs = 1000;
  // Longer than any file system's time stamp resolution (FAT: 2 s).
  static constexpr std::uint32_t kRecentWriteRereadMs = 3000;
  // A buffer no value fills.
  static constexpr std::size_t kWholeValue = static_cast<std::size_t>(-1);

  RuleCache() : taken_(std::make_shared<const ParsedRules>()) {}

  // Hook thread. Takes the last rule set the watcher finished, if it is newer than the one in
  // use; hands the watcher `file` first when it is not the one watched. Nothing here touches
  // the file system, and nothing is freed here (the set let go of goes back to the watcher).
  void TakeLatest(HookPlatform& platform, const char* file);
  // The hooks stopped: the watcher stops too, and the next start reads the file afresh.
  void StopWatching(HookPlatform& platform);

  // Watcher thread: one round of checking `file`, reading and parsing it where needed.
  void Refresh(HookPlatform& platform, const std::string& file);

  // As GetPrivateProfileStringA with an empty default, but whole: the editors write records of
  // any length, and a program path cut short would start another program.
  std::string Find(std::string_view section, std::string_view key) const {
    return taken_->Index().GetString(section, key, kWholeValue);
  }
  // The same, nullopt where the section has no entry of the key (an empty value is an entry).
  std::optional<std::string> FindEntry(std::string_view section, std::string_view key) const {
    return taken_->Index().Find(section, key, kWholeValue);
  }
  bool HasProgramRules() const { return taken_->HasProgramRules(); }
  const ParsedRules::ProgramSections* SectionsOf(std::u16string_view programKey) const {
    return taken_->SectionsOf(programKey);
  }
  bool SomeProgramHasRuleFor(std::string_view keyCodes) const {
    return taken_->SomeProgramHasRuleFor(keyCodes);
  }
  // The modifier sets of the hotkey rules of this key code pair ("vv/ss"), from the keys that
  // a look-up can match at all. Without any, the hotkey step needs neither the modifiers nor a
  // look-up; with some, it reads only as many modifiers as tell them from what is held.
  const std::vector<ModifierFlags>* HotkeyModifiers(std::string_view program,
                                                    std::string_view keyCodes) const {
    return taken_->HotkeyModifiers(program, keyCodes);
  }

 private:
  // Held only to move a pointer: the hook thread never waits for it (busy: the set taken before
  // stays for this event), the watcher only for as long as that takes.
  class Exchange {
   public:
    bool TryLock() { return !busy_.test_and_set(std::memory_order_acquire); }
    void Lock() {
      while (!TryLock()) {
      }
    }
    void Unlock() { busy_.clear(std::memory_order_release); }

   private:
    std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  };

  bool NeedsRead(const HookPlatform::RuleFileCheck& check, const std::string& file,
                 std::uint32_t now) const;
  void Read(HookPlatform& platform, const std::string& file,
            const HookPlatform::RuleFileCheck& check, std::uint32_t now);
  void Publish(HookPlatform& platform, std::shared_ptr<const ParsedRules> rules,
               const HookPlatform::RuleFileCheck& check);
  void Announce(HookPlatform& platform, const HookPlatform::RuleFileCheck& check, bool taken);

  // Hook thread only.
  std::shared_ptr<const ParsedRules> taken_;
  std::uint64_t takenVersion_ = 0;
  std::string watched_;  // the file handed to the watcher; empty: none yet

  // Shared, under `exchange_`: the newest set, and the one the hook thread let go of.
  Exchange exchange_;
  std::shared_ptr<const ParsedRules> published_;
  std::shared_ptr<const ParsedRules> returned_;
  std::atomic<std::uint64_t> publishedVersion_{0};
  // The file must be read at the next round whatever it looks like (the hooks stopped).
  std::atomic<bool> forceRead_{false};

  // Watcher thread only.
  bool readBefore_ = false;  // a read was made (whatever became of it)
  // A change was signalled since the last read.
  bool dirty_ = false;
  std::string file_;
  HookPlatform::RuleFileCheck seen_;  // the file as it was when the last read began
  std::uint32_t versionSeenAt_ = 0;   // when that size and time stamp were first seen
  std::optional<std::uint32_t> retryAt_;
  // The version the last line named, and whether its rules were taken in.
  std::optional<std::pair<HookPlatform::RuleFileCheck, bool>> announced_;
};
