#pragma once

#include <cstdint>

// Core Audio counts volumes as a scalar from 0.0 to 1.0, the mixer and the steps as 0..65535.
// Every value of 0..65535 comes back from its scalar unchanged (nearest, not truncated), so a
// step through the scalar is exact on both builds.
float ToVolumeScalar(std::uint16_t volume);
std::uint16_t FromVolumeScalar(float scalar);
