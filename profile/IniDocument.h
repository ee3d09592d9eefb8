#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of an INI file as lines, edited in place so that every line a change does not touch
// (comments, blank lines, lines without "=", text before the first section, its line ends)
// stays exactly as it was.
class IniDocument {
 public:
  explicit IniDocument(std::string_view text);

  // The trimmed value of the first matching key of the first matching section, quotes kept;
  // nullopt when the section, the key or its "=" is missing.
  std::optional<std::string> FindValue(std::string_view section, std::string_view key) const;

  // The names of the sections, trimmed, each once (as first spelt), in the order of the file.
  std::vector<std::string> SectionNames() const;

  // The section's entries as "key=value" with names and values trimmed; lines without "=" as
  // they stand; blank lines and comments left out. Empty when the section is missing.
  std::vector<std::string> SectionEntries(std::string_view section) const;

  // The whole text read in one pass, as the look-ups above read it: for the first section of
  // each name (later ones are never found), `section` with its trimmed name, then `entry` for
  // each of its entries with the trimmed name and value (nullopt for a line without "=").
  // Linear in the text, however many sections it holds.
  using SectionVisitor = std::function<void(std::string_view name)>;
  using EntryVisitor =
      std::function<void(std::string_view name, std::optional<std::string_view> value)>;
  static void VisitFirstSections(std::string_view text, const SectionVisitor& section,
                                 const EntryVisitor& entry);

  // A new key goes after the last entry of its section; a new section at the end of the file.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);
  // The section header stays, even when its last key goes. Both report whether anything changed.
  bool DeleteKey(std::string_view section, std::string_view key);
  bool DeleteSection(std::string_view section);

  std::string Text() const;

 private:
  struct Line {
    std::string text;
    std::string end;  // "\r\n", "\n", "\r" or empty for a last line without an end
  };
  struct Range {
    std::size_t header;  // index of the section line
    std::size_t end;     // one past its last line
  };

  std::optional<Range> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const Range& range, std::string_view key) const;

  std::vector<Line> lines_;
};

// The value as the profile functions hand it out: one pair of matching outer quotes (" or ')
// removed.
std::string_view StripOuterQuotes(std::string_view value);
