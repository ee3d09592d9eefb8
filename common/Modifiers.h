#pragma once

#include <array>
#include <cstddef>

// The eight modifier flags always stand in this order: in the rule file, in the editors'
// records and as the arguments of the key naming.
enum class Modifier : std::size_t {
  LCtrl,
  LAlt,
  LShift,
  LWin,
  RCtrl,
  RAlt,
  RShift,
  RWin,
};

inline constexpr std::size_t kModifierCount = 8;

// Companion order of the middle-button rule: the same without the two Windows keys.
inline constexpr std::array<Modifier, 6> kCompanionOrder = {
    Modifier::LCtrl, Modifier::LAlt, Modifier::LShift,
    Modifier::RCtrl, Modifier::RAlt, Modifier::RShift,
};

// Eight 0/1 flags indexed by Modifier.
class ModifierFlags {
 public:
  bool operator[](Modifier m) const { return flags_[static_cast<std::size_t>(m)]; }
  bool& operator[](Modifier m) { return flags_[static_cast<std::size_t>(m)]; }

  // True when every modifier outside `allowed` is up.
  template <typename... M>
  bool NoneExcept(M... allowed) const {
    for (std::size_t i = 0; i < kModifierCount; ++i) {
      if (flags_[i] && ((static_cast<Modifier>(i) != allowed) && ...)) return false;
    }
    return true;
  }

  friend bool operator==(const ModifierFlags&, const ModifierFlags&) = default;

 private:
  std::array<bool, kModifierCount> flags_{};
};
