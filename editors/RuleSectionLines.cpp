#include "editors/RuleSectionLines.h"

#include <map>

#include "common/TextCase.h"

std::string LineKey(std::string_view line) {
  return ToAsciiLower(TrimBlanks(line.substr(0, line.find('='))));
}

std::vector<std::string> ArrangeSectionLines(const std::vector<RowLine>& rows,
                                             const std::vector<KeptLine>& kept) {
  std::map<std::string, int> rowsToCome;
  for (const RowLine& row : rows) ++rowsToCome[LineKey(row.text)];
  std::vector<std::string> lines;
  std::size_t nextKept = 0;
  const auto keepBefore = [&](std::optional<std::size_t> place) {
    for (; nextKept < kept.size() && (!place || kept[nextKept].place < *place); ++nextKept) {
      if (rowsToCome[LineKey(kept[nextKept].text)] == 0) lines.push_back(kept[nextKept].text);
    }
  };
  for (const RowLine& row : rows) {
    keepBefore(row.place);
    lines.push_back(row.text);
    --rowsToCome[LineKey(row.text)];
  }
  keepBefore(std::nullopt);
  return lines;
}
