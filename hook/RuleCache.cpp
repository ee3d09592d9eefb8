#include "hook/RuleCache.h"

void RuleCache::Refresh(HookPlatform& platform, const char* file) {
  const HookPlatform::RuleFileCheck check = platform.CheckRuleFile(file);
  const bool current = valid_ && !check.mayHaveChanged && !check.writtenRecently && file_ == file &&
                       check.exists == seen_.exists && check.size == seen_.size &&
                       check.lastWrite == seen_.lastWrite;
  if (current) return;
  index_ = ProfileIndex(platform.ReadRuleFile(file));
  file_ = file;
  seen_ = check;
  valid_ = true;
}
