#include "profile/SectionReplacement.h"

#include <optional>

#include "common/TextCase.h"
#include "profile/IniLines.h"

namespace {

struct TextLine {
  std::string_view text;
  std::string_view end;
};

std::vector<TextLine> SplitLines(std::string_view text) {
  std::vector<TextLine> lines;
  ForEachIniLine(text, [&lines](std::string_view line, std::string_view end) {
    lines.push_back({line, end});
  });
  return lines;
}

const SectionLines* Replacement(const std::vector<SectionLines>& sections, std::string_view name,
                                std::vector<bool>& placed) {
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (!placed[i] && EqualsIgnoringCase(TrimBlanks(sections[i].name), name)) {
      placed[i] = true;
      return &sections[i];
    }
  }
  return nullptr;
}

void AppendSection(std::string& out, const SectionLines& section, std::string_view end) {
  if (section.lines.empty()) return;
  out += '[';
  out += TrimBlanks(section.name);
  out += ']';
  out += end;
  for (const std::string& line : section.lines) {
    out += line;
    out += end;
  }
}

}  // namespace

std::string ReplaceSectionsInText(std::string_view text,
                                  const std::vector<SectionLines>& sections) {
  const std::vector<TextLine> lines = SplitLines(text);
  std::string_view end = "\r\n";
  for (const TextLine& line : lines) {
    if (!line.end.empty()) {
      end = line.end;
      break;
    }
  }
  std::vector<bool> placed(sections.size(), false);
  std::string out;
  out.reserve(text.size());
  bool skipping = false;  // inside a section being replaced
  for (const TextLine& line : lines) {
    if (const auto name = IniSectionName(line.text)) {
      skipping = false;
      if (const SectionLines* replacement = Replacement(sections, *name, placed)) {
        AppendSection(out, *replacement, end);
        skipping = true;
        continue;
      }
    }
    if (skipping) continue;
    out += line.text;
    out += line.end;  // only a last line has none
  }
  bool needsEnd = !out.empty() && out.back() != '\n' && out.back() != '\r';
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (placed[i] || sections[i].lines.empty()) continue;
    if (needsEnd) out += end;
    needsEnd = false;
    AppendSection(out, sections[i], end);
    placed[i] = true;
  }
  return out;
}
