#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// An INI text indexed so that a value is found in constant time, answered exactly as the
// profile functions answer GetPrivateProfileString with an empty default: names match without
// regard to letter case, the first section of a name and its first entry of a key count (an
// entry without "=" hides later ones of its name), values come trimmed with one pair of outer
// quotes removed, cut to the buffer.
class ProfileIndex {
 public:
  explicit ProfileIndex(std::string_view text = {});

  std::string GetString(std::string_view section, std::string_view key,
                        std::size_t bufferSize) const {
    return Find(section, key, bufferSize).value_or(std::string());
  }
  // The same, but nullopt where the section has no entry of the key with a value, so that an
  // entry with an empty value can be told from none.
  std::optional<std::string> Find(std::string_view section, std::string_view key,
                                  std::size_t bufferSize) const;
  // The names of the sections, lower-case and trimmed.
  std::vector<std::string> SectionNames() const;
  // The names that look-ups in the section can find a value for, lower-case and trimmed.
  std::vector<std::string> KeysWithValues(std::string_view section) const;

 private:
  // Looked up by string_view, so that a look-up allocates nothing.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  template <typename Value>
  using ByName = std::unordered_map<std::string, Value, NameHash, std::equal_to<>>;
  // By lower-case trimmed name; nullopt for an entry without "=".
  using Entries = ByName<std::optional<std::string>>;
  ByName<Entries> sections_;
};
