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

void RuleCache::Refresh(HookPlatform& platform, const char* file) {
  const HookPlatform::RuleFileCheck check = platform.CheckRuleFile(file);
  const bool current = valid_ && !check.mayHaveChanged && !check.writtenRecently && file_ == file &&
                       check.exists == seen_.exists && check.size == seen_.size &&
                       check.lastWrite == seen_.lastWrite;
  if (current) return;
  index_ = ProfileIndex(platform.ReadRuleFile(file));
  hotkeyModifiers_.clear();
  for (const std::string& key : index_.KeysWithValues("HotKey")) {
    if (auto rule = ParseHotkeyKey(key)) hotkeyModifiers_[rule->keyCodes].push_back(rule->held);
  }
  file_ = file;
  seen_ = check;
  valid_ = true;
}
