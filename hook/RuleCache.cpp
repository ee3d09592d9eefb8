#include "hook/RuleCache.h"

#include <optional>
#include <utility>

#include "common/ProgramNames.h"

namespace {

struct HotkeyKey {
  std::string keyCodes;  // "vv/ss"
  ModifierFlags held;
};

// A hotkey rule's key as the look-up text of a key event can equal it: two fields, then eight
// flags that are each exactly "0" or "1". Any other key is never looked up.
std::optional<HotkeyKey> ParseHotkeyKey(const std::string& key) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = key.find('/', start);
    fields.push_back(std::string_view(key).substr(start, slash - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  if (fields.size() != 2 + kModifierCount) return std::nullopt;
  HotkeyKey rule{key.substr(0, fields[0].size() + 1 + fields[1].size()), {}};
  for (std::size_t i = 0; i < kModifierCount; ++i) {
    const std::string_view flag = fields[2 + i];
    if (flag != "0" && flag != "1") return std::nullopt;
    rule.held[static_cast<Modifier>(i)] = flag == "1";
  }
  return rule;
}

}  // namespace

ParsedRules::ParsedRules(std::string_view text, const ProgramNameText& names) : index_(text) {
  for (const std::string& section : index_.SectionNames()) {
    const std::size_t colon = section.find(':');
    const std::string_view kind = std::string_view(section).substr(0, colon);
    const std::string program = colon == std::string::npos ? "" : section.substr(colon + 1);
    const bool ruleKind =
        kind == "hotkey" || kind == "keychange" || kind == "taphold" || kind == "mousemap2";
    if (!ruleKind) continue;
    // A name the code page cannot have written belongs to no running program.
    if (!program.empty() && !AddProgramSection(names, kind, section, program)) continue;
    if ((kind == "keychange" || kind == "taphold") && !program.empty()) {
      for (std::string& key : index_.KeysWithValues(section))
        programKeyCodes_.insert(std::move(key));
    }
    if (kind != "hotkey") continue;
    auto& byKeyCodes = hotkeyModifiers_[program];
    for (const std::string& key : index_.KeysWithValues(section)) {
      auto rule = ParseHotkeyKey(key);
      if (!rule) continue;
      if (!program.empty()) programKeyCodes_.insert(rule->keyCodes);
      byKeyCodes[rule->keyCodes].push_back(rule->held);
    }
  }
  // A kind the program has no section of is named as its other sections are: found nowhere.
  for (auto& [key, sections] : programs_) {
    const std::string& named = !sections.keyChange.empty() ? sections.keyChange
                               : !sections.tapHold.empty() ? sections.tapHold
                               : !sections.hotkey.empty()  ? sections.hotkey
                                                           : sections.mouse;
    const std::string program = named.substr(named.find(':') + 1);
    if (sections.keyChange.empty()) sections.keyChange = "keychange:" + program;
    if (sections.tapHold.empty()) sections.tapHold = "taphold:" + program;
    if (sections.hotkey.empty()) sections.hotkey = "hotkey:" + program;
    if (sections.mouse.empty()) sections.mouse = "mousemap2:" + program;
    if (sections.hotkeyProgram.empty()) sections.hotkeyProgram = program;
  }
}

bool ParsedRules::AddProgramSection(const ProgramNameText& names, std::string_view kind,
                                    const std::string& section, const std::string& program) {
  auto key = ProgramNameKeyOfAnsi(names, program);
  if (!key) return false;
  ProgramSections& sections = programs_[std::move(*key)];
  std::string& named = kind == "keychange" ? sections.keyChange
                       : kind == "taphold" ? sections.tapHold
                       : kind == "hotkey"  ? sections.hotkey
                                           : sections.mouse;
  if (!named.empty()) return true;
  named = section;
  if (kind == "hotkey") sections.hotkeyProgram = program;
  return true;
}

const std::vector<ModifierFlags>* ParsedRules::HotkeyModifiers(std::string_view program,
                                                               std::string_view keyCodes) const {
  const auto ofProgram = hotkeyModifiers_.find(program);
  if (ofProgram == hotkeyModifiers_.end()) return nullptr;
  const auto found = ofProgram->second.find(keyCodes);
  return found == ofProgram->second.end() ? nullptr : &found->second;
}

namespace {

using Outcome = HookPlatform::RuleFileRead::Outcome;

// Tick counts wrap after 49 days; a difference does not.
bool Reached(std::uint32_t now, std::uint32_t moment) {
  return static_cast<std::int32_t>(now - moment) >= 0;
}

bool SameVersion(const HookPlatform::RuleFileCheck& a, const HookPlatform::RuleFileCheck& b) {
  return a.exists == b.exists && a.size == b.size && a.lastWrite == b.lastWrite;
}

}  // namespace

void RuleCache::TakeLatest(HookPlatform& platform, const char* file) {
  if (watched_ != file) {
    watched_ = file;
    platform.WatchRuleFile(file, *this);
  }
  const std::uint64_t version = publishedVersion_.load(std::memory_order_acquire);
  if (version == takenVersion_ || !exchange_.TryLock()) return;
  // The watcher has not yet freed the set returned last time: this one waits for the next event.
  if (returned_ == nullptr) {
    returned_ = std::move(taken_);
    taken_ = published_;
    takenVersion_ = version;
  }
  exchange_.Unlock();
}

void RuleCache::StopWatching(HookPlatform& platform) {
  platform.StopWatchingRuleFile();
  watched_.clear();
  forceRead_.store(true, std::memory_order_release);
}

void RuleCache::Refresh(HookPlatform& platform, const std::string& file) {
  exchange_.Lock();
  std::shared_ptr<const ParsedRules> letGo = std::move(returned_);
  exchange_.Unlock();
  letGo.reset();  // here, not on the hook thread: freeing a large set takes as long as building it
  const std::uint32_t now = platform.TickCount();
  const HookPlatform::RuleFileCheck check = platform.CheckRuleFile(file.c_str());
  // After a restart the read is named again, whatever version it finds: whoever started the
  // hooks can tell when the rules are in force.
  const bool restarted = forceRead_.exchange(false);
  if (restarted) announced_.reset();
  if (check.mayHaveChanged || restarted) dirty_ = true;
  if (NeedsRead(check, file, now)) Read(platform, file, check, now);
}

bool RuleCache::NeedsRead(const HookPlatform::RuleFileCheck& check, const std::string& file,
                          std::uint32_t now) const {
  if (!readBefore_ || dirty_ || file_ != file || !SameVersion(check, seen_)) return true;
  if (retryAt_ && Reached(now, *retryAt_)) return true;
  return check.writtenRecently && !Reached(now, versionSeenAt_ + kRecentWriteRereadMs);
}

void RuleCache::Read(HookPlatform& platform, const std::string& file,
                     const HookPlatform::RuleFileCheck& check, std::uint32_t now) {
  if (!readBefore_ || file_ != file || !SameVersion(check, seen_)) versionSeenAt_ = now;
  readBefore_ = true;
  dirty_ = false;
  retryAt_.reset();
  file_ = file;
  seen_ = check;
  const HookPlatform::RuleFileRead read = platform.ReadRuleFile(file.c_str(), kLargestRuleFile);
  switch (read.outcome) {
    case Outcome::Read:
      Publish(platform, std::make_shared<const ParsedRules>(read.text, platform.ProgramNames()),
              check);
      break;
    case Outcome::Missing:
      Publish(platform, std::make_shared<const ParsedRules>(), check);
      break;
    case Outcome::Failed:
    case Outcome::TooLarge:
      // Not an empty rule file: the rules read before stay until a read succeeds.
      retryAt_ = now + kRetryAfterFailureMs;
      Announce(platform, check, false);
      break;
  }
}

void RuleCache::Publish(HookPlatform& platform, std::shared_ptr<const ParsedRules> rules,
                        const HookPlatform::RuleFileCheck& check) {
  exchange_.Lock();
  // Freed here, once the lock is let go of, unless the hook thread took it: then it comes back
  // through `returned_` to be freed at a later round.
  std::shared_ptr<const ParsedRules> replaced = std::exchange(published_, std::move(rules));
  publishedVersion_.store(publishedVersion_.load(std::memory_order_relaxed) + 1,
                          std::memory_order_release);
  exchange_.Unlock();
  Announce(platform, check, true);
}

// The line ends in the file's size and time stamp as they were when the read began, once per
// version and outcome: whoever changed the file can tell when the library has looked at it.
void RuleCache::Announce(HookPlatform& platform, const HookPlatform::RuleFileCheck& check,
                         bool taken) {
  if (announced_ && SameVersion(announced_->first, check) && announced_->second == taken) return;
  announced_.emplace(check, taken);
  const std::string version = check.exists ? std::to_string(check.size) + " bytes, written " +
                                                 std::to_string(check.lastWrite)
                                           : std::string("none");
  platform.DebugLine((taken ? "trellin_192: rule file taken in: "
                            : "trellin_192: rule file unreadable, rules kept: ") +
                     version);
}
