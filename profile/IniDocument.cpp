#include "profile/IniDocument.h"

#include <unordered_set>

#include "common/TextCase.h"
#include "profile/IniLines.h"

namespace {

constexpr std::string_view kNewLineEnd = "\r\n";

bool IsEntry(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  return !trimmed.empty() && trimmed.front() != ';';
}

std::string_view EntryName(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  return TrimBlanks(trimmed.substr(0, trimmed.find('=')));
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  ForEachIniLine(text, [this](std::string_view line, std::string_view end) {
    lines_.push_back({std::string(line), std::string(end)});
  });
}

void IniDocument::VisitFirstSections(std::string_view text, const SectionVisitor& section,
                                     const EntryVisitor& entry) {
  std::unordered_set<std::string> seen;  // lower-case names of the sections met so far
  bool inFirstSection = false;
  ForEachIniLine(text, [&](std::string_view line, std::string_view) {
    if (const auto name = IniSectionName(line)) {
      inFirstSection = seen.insert(ToAsciiLower(*name)).second;
      if (inFirstSection) section(*name);
      return;
    }
    if (!inFirstSection || !IsEntry(line)) return;
    const std::string_view trimmed = TrimBlanks(line);
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
      entry(trimmed, std::nullopt);
    } else {
      entry(EntryName(trimmed), TrimBlanks(trimmed.substr(equals + 1)));
    }
  });
}

std::optional<IniDocument::Range> IniDocument::FindSection(std::string_view section) const {
  const std::string_view wanted = TrimBlanks(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = IniSectionName(lines_[i].text);
    if (!name || !EqualsIgnoringCase(*name, wanted)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !IniSectionName(lines_[end].text)) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const Range& range, std::string_view key) const {
  const std::string_view wanted = TrimBlanks(key);
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    if (IsEntry(lines_[i].text) && EqualsIgnoringCase(EntryName(lines_[i].text), wanted)) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::FindValue(std::string_view section,
                                                  std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto index = FindKey(*range, key);
  if (!index) return std::nullopt;
  const std::string_view line = lines_[*index].text;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return std::string(TrimBlanks(line.substr(equals + 1)));
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;  // lower-case, so that each name is met in constant time
  for (const Line& line : lines_) {
    const auto name = IniSectionName(line.text);
    if (name && seen.insert(ToAsciiLower(*name)).second) names.emplace_back(*name);
  }
  return names;
}

std::vector<std::string> IniDocument::SectionEntries(std::string_view section) const {
  std::vector<std::string> entries;
  const auto range = FindSection(section);
  if (!range) return entries;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    const std::string_view line = TrimBlanks(lines_[i].text);
    if (!IsEntry(line)) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      entries.emplace_back(line);
    } else {
      entries.push_back(std::string(EntryName(line)) + "=" +
                        std::string(TrimBlanks(line.substr(equals + 1))));
    }
  }
  return entries;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  const auto range = FindSection(section);
  if (range) {
    if (const auto index = FindKey(*range, key)) {
      // Keep the name as the file spells it; only the value changes.
      Line& line = lines_[*index];
      line.text = std::string(EntryName(line.text)) + "=" + std::string(value);
      return;
    }
    std::size_t after = range->header;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
      if (!TrimBlanks(lines_[i].text).empty()) after = i;
    }
    if (lines_[after].end.empty()) lines_[after].end = kNewLineEnd;
    const Line entry{std::string(TrimBlanks(key)) + "=" + std::string(value),
                     std::string(kNewLineEnd)};
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1), entry);
    return;
  }
  if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = kNewLineEnd;
  lines_.push_back({"[" + std::string(TrimBlanks(section)) + "]", std::string(kNewLineEnd)});
  lines_.push_back(
      {std::string(TrimBlanks(key)) + "=" + std::string(value), std::string(kNewLineEnd)});
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
  const auto range = FindSection(section);
  if (!range) return false;
  const auto index = FindKey(*range, key);
  if (!index) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
  return true;
}

bool IniDocument::DeleteSection(std::string_view section) {
  const auto range = FindSection(section);
  if (!range) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
               lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
  return true;
}

std::string IniDocument::Text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += line.end;
  }
  return text;
}

std::string_view StripOuterQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}
