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
#include <vector>

#include "common/Modifiers.h"

#include "hook/HookPlatform.h"
#include "profile/ProfileIndex.h"

// One reading of the rule file, parsed and indexed for the look-ups of every key event.
class ParsedRules {
 public:
  explicit ParsedRules(std::string_view text = {});

  const ProfileIndex& Index() const { return index_; }
  // The modifier sets of the hotkeys of a key code pair in the section of `program` (lower
  // case; empty: the section for all programs).
  const std::vector<ModifierFlags>* HotkeyModifiers(std::string_view program,
                                                    std::string_view keyCodes) const;
  // Whether some program has a rule section of its own ("KeyChange:notepad.exe", ...): without
  // any, no event needs to know the program in front.
  bool HasProgramRules() const { return !programs_.empty(); }
  bool HasRulesFor(std::string_view program) const {
    return programs_.find(program) != programs_.end();
  }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };

  template <typename Value>
  using ByName = std::unordered_map<std::string, Value, Hash, std::equal_to<>>;

  ProfileIndex index_;
  // By program (lower case, "" for all programs), then by key code pair.
  ByName<ByName<std::vector<ModifierFlags>>> hotkeyModifiers_;
  std::unordered_set<std::string, Hash, std::equal_to<>> programs_;
};

// The rule file as the library last read it. Before each event's look-ups the platform says
// whether a change was signalled in the file's folder (a write, a resize, a file replaced by
// rename) and gives the file's size and last-write time (which catch a change whose signal was
// lost or late, or a folder that cannot be watched). A file written so recently that another
// write could share its time stamp is read again at every event, for as long as the stamp's
// resolution lasts after it was first seen (a stamp in the future never ends that by itself);
// a large one (below) once more after that time.
//
// What a hook call spends on a change is bounded: a file of up to kLargestReadInHookCall bytes
// is read and parsed in the call (a rule file is a few kilobytes, so an edit applies to the very
// next event); a larger one is read and parsed in the background while the events keep the rules
// read before, and applies at the first event after it is done. A read that fails (a sharing
// violation, an I/O error, a file over kLargestRuleFile) keeps the rules read before and is
// tried again after kRetryAfterFailureMs, or at once when the file changes.
class RuleCache {
 public:
  static constexpr std::uint64_t kLargestReadInHookCall = 64 * 1024;
  static constexpr std::uint64_t kLargestRuleFile = 16 * 1024 * 1024;
  static constexpr std::uint32_t kRetryAfterFailureMs = 1000;
  // Longer than any file system's time stamp resolution (FAT: 2 s).
  static constexpr std::uint32_t kRecentWriteRereadMs = 3000;
  // A buffer no value fills.
  static constexpr std::size_t kWholeValue = static_cast<std::size_t>(-1);

  RuleCache() : rules_(std::make_shared<const ParsedRules>()) {}

  // Brings the cache up to date with `file` as far as one hook call may.
  void Refresh(HookPlatform& platform, const char* file);
  // As GetPrivateProfileStringA with an empty default, but whole: the editors write records of
  // any length, and a program path cut short would start another program.
  std::string Find(std::string_view section, std::string_view key) const {
    return rules_->Index().GetString(section, key, kWholeValue);
  }
  // The same, nullopt where the section has no entry of the key (an empty value is an entry).
  std::optional<std::string> FindEntry(std::string_view section, std::string_view key) const {
    return rules_->Index().Find(section, key, kWholeValue);
  }
  bool HasProgramRules() const { return rules_->HasProgramRules(); }
  bool HasRulesFor(std::string_view program) const { return rules_->HasRulesFor(program); }
  // The modifier sets of the hotkey rules of this key code pair ("vv/ss"), from the keys that
  // a look-up can match at all. Without any, the hotkey step needs neither the modifiers nor a
  // look-up; with some, it reads only as many modifiers as tell them from what is held.
  const std::vector<ModifierFlags>* HotkeyModifiers(std::string_view program,
                                                    std::string_view keyCodes) const {
    return rules_->HotkeyModifiers(program, keyCodes);
  }
  // The library wrote the file itself.
  void Invalidate() { dirty_ = true; }

 private:
  // A read handed to the background; `done` tells the hook thread that the rest is written.
  struct BackgroundRead {
    std::atomic<bool> done{false};
    HookPlatform::RuleFileRead::Outcome outcome = HookPlatform::RuleFileRead::Outcome::Failed;
    std::shared_ptr<const ParsedRules> rules;
  };

  bool NeedsRead(const HookPlatform::RuleFileCheck& check, const char* file,
                 std::uint32_t now) const;
  void StartRead(HookPlatform& platform, const char* file, const HookPlatform::RuleFileCheck& check,
                 std::uint32_t now);
  // A large file written within the stamp's resolution is read once more when that has passed.
  void RereadOnceRecent(const HookPlatform::RuleFileCheck& check, std::uint32_t now);
  void StartBackgroundRead(HookPlatform& platform, const char* file);
  void TakeFinishedRead(HookPlatform& platform, std::uint32_t now);
  // `large`: read in the background, so freeing it later belongs there too.
  void Apply(HookPlatform& platform, HookPlatform::RuleFileRead::Outcome outcome,
             std::shared_ptr<const ParsedRules> rules, bool large, std::uint32_t now);

  std::shared_ptr<const ParsedRules> rules_;
  bool rulesAreLarge_ = false;
  bool readInBackground_ = false;  // the last read was too large for a hook call
  bool readBefore_ = false;        // a read was begun (whatever became of it)
  // A change was signalled (or the library wrote the file) since the last read began.
  bool dirty_ = false;
  std::string file_;
  HookPlatform::RuleFileCheck seen_;  // the file as it was when the last read began
  std::uint32_t versionSeenAt_ = 0;   // when that size and time stamp were first seen
  std::optional<std::uint32_t> retryAt_;
  std::shared_ptr<BackgroundRead> background_;
};
