#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The "/"-separated records of the rule file.

// Splits at every "/". An empty record has no fields, "//" gives an empty field between, and a
// "/" at the very end gives no empty last field.
std::vector<std::string> SplitRecord(std::string_view record);

// Field `number` (counted from 1) of a split record; empty when the record has fewer fields.
std::string_view RecordField(const std::vector<std::string>& fields, std::size_t number);

// Hexadecimal field, read as the C library's strtoul with base 16 on 32-bit Windows: leading
// white space, an optional sign, an optional "0x", then as many hexadecimal digits as there
// are. Nothing readable gives 0; an overflow gives 0xFFFFFFFF.
std::uint32_t ReadHexField(std::string_view field);

// Decimal field, read as strtol with base 10 on 32-bit Windows (overflow saturates).
std::int32_t ReadDecimalField(std::string_view field);

// A flag is a decimal field; anything but 0 counts as set.
inline bool ReadFlagField(std::string_view field) {
  return ReadDecimalField(field) != 0;
}

// Program parameters may hold "/" and "$": "$" is written "$$" and "/" is written "$!".
std::string EscapeParameter(std::string_view parameter);
std::string UnescapeParameter(std::string_view escaped);
