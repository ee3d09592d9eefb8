#include "profile/ProfileIndex.h"

#include "common/TextCase.h"
#include "profile/IniDocument.h"

namespace {

std::string NameKey(std::string_view name) {
  return ToAsciiLower(TrimBlanks(name));
}

}  // namespace

// Built from the same reading of the text as the profile engine's own look-ups, so that both
// give one answer; in one pass, since a damaged file may hold any number of sections.
ProfileIndex::ProfileIndex(std::string_view text) {
  Entries* entries = nullptr;
  IniDocument::VisitFirstSections(
      text, [&](std::string_view section) { entries = &sections_[NameKey(section)]; },
      [&](std::string_view name, std::optional<std::string_view> value) {
        // The first entry of a name hides later ones, as it does for the profile functions.
        entries->try_emplace(NameKey(name),
                             value ? std::optional<std::string>(*value) : std::nullopt);
      });
}

namespace {

// A name as the index keeps it, in a buffer of the caller's: no allocation for the short names
// that rules use.
class LookUpName {
 public:
  explicit LookUpName(std::string_view name) {
    const std::string_view trimmed = TrimBlanks(name);
    if (trimmed.size() <= sizeof buffer_) {
      for (std::size_t i = 0; i < trimmed.size(); ++i) buffer_[i] = AsciiLower(trimmed[i]);
      view_ = std::string_view(buffer_, trimmed.size());
    } else {
      long_ = ToAsciiLower(trimmed);
      view_ = long_;
    }
  }
  std::string_view View() const { return view_; }

 private:
  char buffer_[64];
  std::string long_;
  std::string_view view_;
};

}  // namespace

std::optional<std::string> ProfileIndex::Find(std::string_view section, std::string_view key,
                                              std::size_t bufferSize) const {
  const auto found = sections_.find(LookUpName(section).View());
  if (found == sections_.end()) return std::nullopt;
  const auto entry = found->second.find(LookUpName(key).View());
  if (entry == found->second.end() || !entry->second) return std::nullopt;
  if (bufferSize == 0) return std::string();
  return std::string(StripOuterQuotes(*entry->second).substr(0, bufferSize - 1));
}

std::vector<std::string> ProfileIndex::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const auto& [name, entries] : sections_) names.push_back(name);
  return names;
}

std::vector<std::string> ProfileIndex::KeysWithValues(std::string_view section) const {
  std::vector<std::string> keys;
  const auto found = sections_.find(LookUpName(section).View());
  if (found == sections_.end()) return keys;
  for (const auto& [name, value] : found->second) {
    if (value) keys.push_back(name);
  }
  return keys;
}
