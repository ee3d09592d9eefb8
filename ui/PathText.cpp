#include "ui/PathText.h"

#include <string_view>

namespace {

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Characters, not bytes: a Korean syllable is three bytes of UTF-8 and one character.
std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (char c : text) count += IsContinuation(c) ? 0 : 1;
  return count;
}

// The last `count` characters, starting on a character's first byte.
std::string_view LastCharacters(std::string_view text, std::size_t count) {
  std::size_t start = text.size();
  for (std::size_t taken = 0; start > 0 && taken < count; ++taken) {
    do {
      --start;
    } while (start > 0 && IsContinuation(text[start]));
  }
  return text.substr(start);
}

}  // namespace

std::string ShortenPath(const std::string& path, std::size_t maxLength) {
  if (Characters(path) <= maxLength) return path;
  constexpr std::string_view kEllipsis = "...";
  auto endOnly = [&] {
    const std::size_t keep = maxLength > kEllipsis.size() ? maxLength - kEllipsis.size() : 0;
    return std::string(kEllipsis) + std::string(LastCharacters(path, keep));
  };
  if (path.find('\\') == std::string::npos) return endOnly();
  // The drive and first folder ("C:\Program Files\") stay in front. Cuts fall on "\", which
  // is never part of a longer character.
  const std::size_t first = path.find('\\');
  const std::size_t second = first == std::string::npos ? first : path.find('\\', first + 1);
  const std::string front =
      second == std::string::npos ? std::string() : path.substr(0, second + 1);
  // From the end, as many whole folders as fit, and always the file name.
  std::size_t cut = path.rfind('\\');
  if (cut == std::string::npos || cut < front.size()) cut = path.size();
  for (;;) {
    const std::size_t previous = cut == 0 ? std::string::npos : path.rfind('\\', cut - 1);
    if (previous == std::string::npos || previous < front.size()) break;
    // front + "..." + the part from this backslash on.
    const std::string_view rest = std::string_view(path).substr(previous);
    if (Characters(front) + kEllipsis.size() + Characters(rest) > maxLength) break;
    cut = previous;
  }
  // The file name stands right after the front: no folder can go, only the name's start.
  if (cut >= path.size()) return endOnly();
  const std::string back = path.substr(cut + 1);
  std::string shortened = front + std::string(kEllipsis) + "\\" + back;
  // Even the file name is too long: its end stays.
  return Characters(shortened) <= maxLength ? shortened : endOnly();
}
