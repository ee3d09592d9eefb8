#include "ui/WindowsFormat.h"

#include <cstdint>
#include <cwchar>

namespace {

constexpr std::size_t kLimit = 1024;

std::string Narrow(const wchar_t* text) {
  // Only the characters of the ASCII range survive; the trace is for developers.
  std::string narrow;
  for (; text != nullptr && *text != L'\0'; ++text) {
    narrow += (*text < 0x80) ? static_cast<char>(*text) : '?';
  }
  return narrow;
}

std::string Digits(std::uint64_t value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value % base]);
    value /= base;
  } while (value != 0);
  return text;
}

}  // namespace

std::string FormatWindowsStyle(const char* format, std::va_list arguments) {
  std::va_list args;
  va_copy(args, arguments);
  std::string out;
  for (const char* p = format; *p != '\0' && out.size() < kLimit; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    const char* start = p++;
    if (*p == '%') {
      out += '%';
      continue;
    }
    bool left = false;
    bool zero = false;
    bool prefix = false;
    for (;; ++p) {
      if (*p == '-') {
        left = true;
      } else if (*p == '0') {
        zero = true;
      } else if (*p == '#') {
        prefix = true;
      } else {
        break;
      }
    }
    std::size_t width = 0;
    for (; *p >= '0' && *p <= '9'; ++p) width = width * 10 + static_cast<std::size_t>(*p - '0');
    bool hasPrecision = false;
    std::size_t precision = 0;
    if (*p == '.') {
      hasPrecision = true;
      for (++p; *p >= '0' && *p <= '9'; ++p) {
        precision = precision * 10 + static_cast<std::size_t>(*p - '0');
      }
    }
    bool wide = false;
    if (*p == 'l') {
      wide = true;
      ++p;
    } else if (*p == 'h') {
      ++p;
    }

    std::string field;
    bool numeric = false;
    switch (*p) {
      case 'c':
      case 'C':
        field = static_cast<char>(va_arg(args, int));
        break;
      case 's':
      case 'S': {
        if (*p == 'S' || wide) {
          field = Narrow(va_arg(args, const wchar_t*));
        } else {
          const char* text = va_arg(args, const char*);
          field = text != nullptr ? text : "(null)";
        }
        if (hasPrecision && field.size() > precision) field.resize(precision);
        break;
      }
      case 'd':
      case 'i': {
        const long value = wide ? va_arg(args, long) : va_arg(args, int);
        const auto magnitude = value < 0 ? static_cast<std::uint64_t>(-(value + 1)) + 1
                                         : static_cast<std::uint64_t>(value);
        field = Digits(magnitude, 10, false);
        if (hasPrecision && field.size() < precision)
          field.insert(0, precision - field.size(), '0');
        if (value < 0) field.insert(field.begin(), '-');
        numeric = true;
        break;
      }
      case 'u':
      case 'x':
      case 'X': {
        const std::uint64_t value = wide ? va_arg(args, unsigned long) : va_arg(args, unsigned int);
        field = Digits(value, *p == 'u' ? 10 : 16, *p == 'X');
        if (hasPrecision && field.size() < precision)
          field.insert(0, precision - field.size(), '0');
        if (prefix && *p != 'u' && value != 0) field.insert(0, *p == 'X' ? "0X" : "0x");
        numeric = true;
        break;
      }
      case '\0':
        out.append(start, p);
        --p;
        continue;
      default:
        // Not a type wvsprintfA knows: the characters stand as they are.
        out.append(start, p + 1);
        continue;
    }
    if (field.size() < width) {
      const std::size_t pad = width - field.size();
      if (left) {
        field.append(pad, ' ');
      } else if (zero && numeric && !hasPrecision) {
        const std::size_t sign = (!field.empty() && field[0] == '-') ? 1 : 0;
        field.insert(sign, pad, '0');
      } else {
        field.insert(0, pad, ' ');
      }
    }
    out += field;
  }
  va_end(args);
  if (out.size() > kLimit) out.resize(kLimit);
  return out;
}
