#include "ui/HtmlMarkup.h"

#include <array>
#include <utility>

#include "common/TextCase.h"

namespace {

constexpr std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) {
  return r | (g << 8) | (b << 16);
}

constexpr std::array<std::pair<std::string_view, std::uint32_t>, 12> kColours = {{
    {"black", Rgb(0, 0, 0)},
    {"white", Rgb(255, 255, 255)},
    {"gray", Rgb(128, 128, 128)},
    {"grey", Rgb(128, 128, 128)},
    {"red", Rgb(255, 0, 0)},
    {"green", Rgb(0, 128, 0)},
    {"blue", Rgb(0, 0, 255)},
    {"navy", Rgb(0, 0, 128)},
    {"maroon", Rgb(128, 0, 0)},
    {"orange", Rgb(255, 165, 0)},
    {"silver", Rgb(192, 192, 192)},
    {"purple", Rgb(128, 0, 128)},
}};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Decode(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&nbsp;", ' '}};
  std::string decoded;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, character] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        decoded += character;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) decoded += text[i++];
  }
  return decoded;
}

// The value of `name=...` inside a tag: quoted or up to the next blank.
std::string Attribute(std::string_view tag, std::string_view name) {
  const std::string lower = ToAsciiLower(tag);
  const std::size_t at = lower.find(std::string(name) + "=");
  if (at == std::string::npos) return {};
  std::size_t start = at + name.size() + 1;
  if (start < tag.size() && (tag[start] == '"' || tag[start] == '\'')) {
    const char quote = tag[start];
    const std::size_t end = tag.find(quote, start + 1);
    return std::string(
        tag.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1));
  }
  const std::size_t end = tag.find_first_of(" \t", start);
  return std::string(tag.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

}  // namespace

std::optional<std::uint32_t> ParseColour(const std::string& text) {
  if (text.size() == 7 && text[0] == '#') {
    int values[6];
    for (int i = 0; i < 6; ++i) {
      values[i] = HexValue(text[static_cast<std::size_t>(i) + 1]);
      if (values[i] < 0) return std::nullopt;
    }
    return Rgb(static_cast<unsigned>(values[0] * 16 + values[1]),
               static_cast<unsigned>(values[2] * 16 + values[3]),
               static_cast<unsigned>(values[4] * 16 + values[5]));
  }
  for (const auto& [name, colour] : kColours) {
    if (EqualsIgnoringCase(name, text)) return colour;
  }
  return std::nullopt;
}

bool HasMarkup(const std::string& text) {
  const std::string lower = ToAsciiLower(text);
  for (const char* tag : {"<b>", "<br", "<font", "<a ", "</"}) {
    if (lower.find(tag) != std::string::npos) return true;
  }
  return false;
}

std::vector<MarkupRun> ParseMarkup(const std::string& markup) {
  std::vector<MarkupRun> runs;
  int boldDepth = 0;
  std::vector<std::optional<std::uint32_t>> colours;
  std::string link;
  auto addText = [&](std::string_view text) {
    if (text.empty()) return;
    MarkupRun run;
    run.text = Decode(text);
    run.bold = boldDepth > 0;
    run.colour = colours.empty() ? std::nullopt : colours.back();
    run.link = link;
    if (!runs.empty() && !runs.back().lineBreak && runs.back().bold == run.bold &&
        runs.back().colour == run.colour && runs.back().link == run.link) {
      runs.back().text += run.text;
    } else {
      runs.push_back(run);
    }
  };
  std::size_t i = 0;
  while (i < markup.size()) {
    const std::size_t open = markup.find('<', i);
    const std::size_t close = open == std::string::npos ? open : markup.find('>', open);
    if (open == std::string::npos || close == std::string::npos) {
      addText(std::string_view(markup).substr(i));
      break;
    }
    addText(std::string_view(markup).substr(i, open - i));
    const std::string tag = markup.substr(open + 1, close - open - 1);
    const std::string lower = ToAsciiLower(std::string(TrimBlanks(tag)));
    if (lower == "b") {
      ++boldDepth;
    } else if (lower == "/b") {
      if (boldDepth > 0) --boldDepth;
    } else if (lower == "br" || lower == "br/" || lower == "br /") {
      MarkupRun brk;
      brk.lineBreak = true;
      runs.push_back(brk);
    } else if (lower.rfind("font", 0) == 0) {
      colours.push_back(ParseColour(Attribute(tag, "color")));
    } else if (lower == "/font") {
      if (!colours.empty()) colours.pop_back();
    } else if (lower.rfind("a ", 0) == 0 || lower == "a") {
      link = Attribute(tag, "href");
    } else if (lower == "/a") {
      link.clear();
    }
    i = close + 1;
  }
  return runs;
}
