#include "ui/PathText.h"

#include <string_view>

std::string ShortenPath(const std::string& path, std::size_t maxLength) {
  if (path.size() <= maxLength) return path;
  constexpr std::string_view kEllipsis = "...";
  auto endOnly = [&] {
    const std::size_t keep = maxLength > kEllipsis.size() ? maxLength - kEllipsis.size() : 0;
    return std::string(kEllipsis) + path.substr(path.size() - keep);
  };
  if (path.find('\\') == std::string::npos) return endOnly();
  // The drive and first folder ("C:\Program Files\") stay in front.
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
    if (front.size() + kEllipsis.size() + (path.size() - previous) > maxLength) break;
    cut = previous;
  }
  const std::string back = cut < path.size() ? path.substr(cut + 1) : std::string();
  std::string shortened = front + std::string(kEllipsis) + (back.empty() ? "" : "\\" + back);
  // Even the file name is too long: its end stays.
  return shortened.size() <= maxLength ? shortened : endOnly();
}
