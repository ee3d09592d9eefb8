#include "hook/RuleCache.h"

#include <optional>

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

ParsedRules::ParsedRules(std::string_view text) : index_(text) {
  for (const std::string& section : index_.SectionNames()) {
    const std::size_t colon = section.find(':');
    const std::string_view kind = std::string_view(section).substr(0, colon);
    const std::string program = colon == std::string::npos ? "" : section.substr(colon + 1);
    const bool ruleKind = kind == "hotkey" || kind == "keychange" || kind == "mousemap2";
    if (!ruleKind) continue;
    if (!program.empty()) programs_.insert(program);
    if (kind != "hotkey") continue;
    auto& byKeyCodes = hotkeyModifiers_[program];
    for (const std::string& key : index_.KeysWithValues(section)) {
      if (auto rule = ParseHotkeyKey(key)) byKeyCodes[rule->keyCodes].push_back(rule->held);
    }
  }
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

void RuleCache::Refresh(HookPlatform& platform, const char* file) {
  const std::uint32_t now = platform.TickCount();
  TakeFinishedRead(platform, now);
  const HookPlatform::RuleFileCheck check = platform.CheckRuleFile(file);
  if (check.mayHaveChanged) dirty_ = true;
  // One read at a time: what changes meanwhile is caught once it is done.
  if (background_ != nullptr || !NeedsRead(check, file, now)) return;
  StartRead(platform, file, check, now);
}

bool RuleCache::NeedsRead(const HookPlatform::RuleFileCheck& check, const char* file,
                          std::uint32_t now) const {
  if (!readBefore_ || dirty_ || file_ != file || !SameVersion(check, seen_)) return true;
  if (retryAt_ && Reached(now, *retryAt_)) return true;
  // A large file is read once more when the window has passed, not at every event in it: each
  // read of it costs the machine (not the hook call) a whole parse.
  if (readInBackground_) return false;
  return check.writtenRecently && !Reached(now, versionSeenAt_ + kRecentWriteRereadMs);
}

void RuleCache::StartRead(HookPlatform& platform, const char* file,
                          const HookPlatform::RuleFileCheck& check, std::uint32_t now) {
  if (!readBefore_ || file_ != file || !SameVersion(check, seen_)) versionSeenAt_ = now;
  readBefore_ = true;
  dirty_ = false;
  retryAt_.reset();
  file_ = file;
  seen_ = check;
  readInBackground_ = check.exists && check.size > kLargestReadInHookCall;
  HookPlatform::RuleFileRead read;
  if (!readInBackground_) {
    read = platform.ReadRuleFile(file, kLargestReadInHookCall);
    readInBackground_ = read.outcome == Outcome::TooLarge;  // it grew since the check
  }
  if (readInBackground_) {
    RereadOnceRecent(check, now);
    StartBackgroundRead(platform, file);
    return;
  }
  std::shared_ptr<const ParsedRules> rules;
  if (read.outcome == Outcome::Read) rules = std::make_shared<const ParsedRules>(read.text);
  Apply(platform, read.outcome, std::move(rules), false, now);
}

void RuleCache::RereadOnceRecent(const HookPlatform::RuleFileCheck& check, std::uint32_t now) {
  const std::uint32_t windowEnd = versionSeenAt_ + kRecentWriteRereadMs;
  if (check.writtenRecently && !Reached(now, windowEnd)) retryAt_ = windowEnd;
}

void RuleCache::StartBackgroundRead(HookPlatform& platform, const char* file) {
  auto job = std::make_shared<BackgroundRead>();
  background_ = job;
  platform.DebugLine("trellin_192: the rule file is large; reading it in the background");
  platform.RunInBackground([job, &platform, path = std::string(file)] {
    HookPlatform::RuleFileRead read = platform.ReadRuleFile(path.c_str(), kLargestRuleFile);
    job->outcome = read.outcome;
    if (read.outcome == Outcome::Read) job->rules = std::make_shared<const ParsedRules>(read.text);
    job->done.store(true, std::memory_order_release);
    platform.DebugLine(read.outcome == Outcome::Read || read.outcome == Outcome::Missing
                           ? "trellin_192: the rule file was read in the background"
                           : "trellin_192: the rule file could not be read; the rules stay");
  });
}

void RuleCache::TakeFinishedRead(HookPlatform& platform, std::uint32_t now) {
  if (background_ == nullptr || !background_->done.load(std::memory_order_acquire)) return;
  const std::shared_ptr<BackgroundRead> job = std::move(background_);
  Apply(platform, job->outcome, std::move(job->rules), true, now);
}

void RuleCache::Apply(HookPlatform& platform, Outcome outcome,
                      std::shared_ptr<const ParsedRules> rules, bool large, std::uint32_t now) {
  if (outcome == Outcome::Failed || outcome == Outcome::TooLarge) {
    // Not an empty rule file: the rules read before stay until a read succeeds.
    retryAt_ = now + kRetryAfterFailureMs;
    return;
  }
  std::shared_ptr<const ParsedRules> previous = std::move(rules_);
  rules_ = outcome == Outcome::Read ? std::move(rules) : std::make_shared<const ParsedRules>();
  // Freeing what a large file was parsed into takes as long as building it did.
  if (rulesAreLarge_ && previous.use_count() == 1) {
    platform.RunInBackground([previous = std::move(previous)]() mutable { previous.reset(); });
  }
  rulesAreLarge_ = large;
}
