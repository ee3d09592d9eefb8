#include "app/VolumeScalar.h"

#include <cmath>

namespace {

constexpr float kFullVolume = 65535.0f;

}  // namespace

float ToVolumeScalar(std::uint16_t volume) {
  return static_cast<float>(volume) / kFullVolume;
}

std::uint16_t FromVolumeScalar(float scalar) {
  if (!(scalar > 0.0f)) return 0;  // NaN too
  if (scalar >= 1.0f) return 0xFFFF;
  return static_cast<std::uint16_t>(std::lround(static_cast<double>(scalar) * kFullVolume));
}
