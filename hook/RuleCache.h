#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Modifiers.h"

#include "hook/HookPlatform.h"
#include "profile/ProfileIndex.h"

// The rule file, parsed and indexed, for the look-ups of every key event. It is never served
// stale: before each event's look-ups the platform says whether a change was signalled in the
// file's folder (a write, a resize, a file replaced by rename) and gives the file's size and
// last-write time (which catch a change whose signal was lost or is late). A file written so
// recently that another write could share its time stamp is read again at every event until
// the clock has moved past that resolution. Any of these reads the file again.
class RuleCache {
 public:
  // Brings the cache up to date with `file` if it may be out of date.
  void Refresh(HookPlatform& platform, const char* file);
  // As GetPrivateProfileStringA with an empty default and a 255-character buffer.
  std::string Find(std::string_view section, std::string_view key) const {
    return index_.GetString(section, key, 255);
  }
  // The modifier sets of the hotkey rules of this key code pair ("vv/ss"), from the keys that
  // a look-up can match at all. Without any, the hotkey step needs neither the modifiers nor a
  // look-up; with some, it reads only as many modifiers as tell them from what is held.
  const std::vector<ModifierFlags>* HotkeyModifiers(std::string_view keyCodes) const {
    const auto found = hotkeyModifiers_.find(keyCodes);
    return found == hotkeyModifiers_.end() ? nullptr : &found->second;
  }
  // The library wrote the file itself.
  void Invalidate() { valid_ = false; }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };

  bool valid_ = false;
  std::string file_;
  HookPlatform::RuleFileCheck seen_;
  ProfileIndex index_;
  std::unordered_map<std::string, std::vector<ModifierFlags>, Hash, std::equal_to<>>
      hotkeyModifiers_;
};
