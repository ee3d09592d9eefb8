#include "common/RuleRecord.h"

#include <limits>

std::vector<std::string> SplitRecord(std::string_view record) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start < record.size()) {
    const std::size_t slash = record.find('/', start);
    if (slash == std::string_view::npos) {
      fields.emplace_back(record.substr(start));
      break;
    }
    fields.emplace_back(record.substr(start, slash - start));
    start = slash + 1;
  }
  return fields;
}

std::string_view RecordField(const std::vector<std::string>& fields, std::size_t number) {
  if (number == 0 || number > fields.size()) return {};
  return fields[number - 1];
}

namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'z') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// The common part of strtoul/strtol: sign and magnitude, with overflow of 32 bits noted.
struct ParsedNumber {
  bool negative = false;
  bool overflow = false;
  std::uint64_t magnitude = 0;
};

ParsedNumber ParseNumber(std::string_view text, int base) {
  ParsedNumber number;
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    number.negative = text[i] == '-';
    ++i;
  }
  // "0x" counts only when a hexadecimal digit follows; otherwise the "0" alone is read.
  if (base == 16 && i + 2 < text.size() && text[i] == '0' &&
      (text[i + 1] == 'x' || text[i + 1] == 'X') && DigitValue(text[i + 2], 16) >= 0) {
    i += 2;
  }
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) break;
    number.magnitude =
        number.magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (number.magnitude > 0xFFFFFFFFu) {
      number.overflow = true;
      number.magnitude = 0xFFFFFFFFu;
    }
  }
  return number;
}

}  // namespace

std::uint32_t ReadHexField(std::string_view field) {
  const ParsedNumber number = ParseNumber(field, 16);
  if (number.overflow) return 0xFFFFFFFFu;
  const auto value = static_cast<std::uint32_t>(number.magnitude);
  return number.negative ? static_cast<std::uint32_t>(0u - value) : value;
}

std::int32_t ReadDecimalField(std::string_view field) {
  const ParsedNumber number = ParseNumber(field, 10);
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  const auto magnitude = static_cast<std::int64_t>(number.magnitude);
  if (number.negative) {
    return static_cast<std::int32_t>(number.overflow || magnitude > kMax + 1 ? -(kMax + 1)
                                                                             : -magnitude);
  }
  return static_cast<std::int32_t>(number.overflow || magnitude > kMax ? kMax : magnitude);
}

std::string EscapeParameter(std::string_view parameter) {
  std::string escaped;
  escaped.reserve(parameter.size());
  for (char c : parameter) {
    if (c == '$') {
      escaped += "$$";
    } else if (c == '/') {
      escaped += "$!";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// One pass that decodes "$$" and "$!" together, left to right. Decoding "$!" everywhere first
// and "$$" afterwards would turn the escaped form of a literal "$!" ("$$!") into "$/".
std::string UnescapeParameter(std::string_view escaped) {
  std::string parameter;
  parameter.reserve(escaped.size());
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] == '$' && i + 1 < escaped.size() &&
        (escaped[i + 1] == '$' || escaped[i + 1] == '!')) {
      parameter += escaped[i + 1] == '$' ? '$' : '/';
      ++i;
    } else {
      parameter += escaped[i];
    }
  }
  return parameter;
}
