#include "hook/RuleCache.h"

void RuleCache::Refresh(HookPlatform& platform, const char* file) {
  const HookPlatform::RuleFileCheck check = platform.CheckRuleFile(file);
  const bool current = valid_ && !check.mayHaveChanged && !check.writtenRecently && file_ == file &&
                       check.exists == seen_.exists && check.size == seen_.size &&
                       check.lastWrite == seen_.lastWrite;
  if (current) return;
  index_ = ProfileIndex(platform.ReadRuleFile(file));
  hotkeyKeyCodes_.clear();
  for (const std::string& key : index_.KeysWithValues("HotKey")) {
    const std::size_t first = key.find('/');
    const std::size_t second = first == std::string::npos ? first : key.find('/', first + 1);
    if (second != std::string::npos) hotkeyKeyCodes_.insert(key.substr(0, second));
  }
  file_ = file;
  seen_ = check;
  valid_ = true;
}
