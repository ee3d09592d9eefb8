#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "common/KeyCodePair.h"

// The system's key vocabulary: the names by which the editors show key code pairs and by which
// scenario scripts name keys. Every pair occurs once.
struct KeyName {
  KeyCodePair pair;
  std::string_view name;
};

std::span<const KeyName> KeyNameTable();

// The name of a pair, or nullopt when the table has none (00/00 is named by the empty text).
std::optional<std::string_view> NameOfKey(KeyCodePair pair);
// The pair of a name, compared without regard to letter case.
std::optional<KeyCodePair> KeyByName(std::string_view name);
