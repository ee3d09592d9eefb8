#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <optional>

#include "app/VolumeDevice.h"

// The mixer's speaker volume and the waveform output volume, as Windows before Vista knew
// them. From Vista on both belong to the calling program's own audio session, so they are used
// only where Core Audio is missing.
class LegacyMixer {
 public:
  LegacyMixer();
  ~LegacyMixer();
  LegacyMixer(const LegacyMixer&) = delete;
  LegacyMixer& operator=(const LegacyMixer&) = delete;

  bool IsOpen() const { return controlId_.has_value(); }
  std::optional<std::uint16_t> Read();
  bool Write(std::uint16_t volume);

 private:
  HMIXER mixer_ = nullptr;
  std::optional<DWORD> controlId_;  // 0 is an id like any other (Wine's first control has it)
};

class LegacyWaveOut {
 public:
  LegacyWaveOut();
  ~LegacyWaveOut();
  LegacyWaveOut(const LegacyWaveOut&) = delete;
  LegacyWaveOut& operator=(const LegacyWaveOut&) = delete;

  std::optional<StereoVolume> Read();
  bool Write(StereoVolume volume);

 private:
  HWAVEOUT Handle() const;
  HWAVEOUT waveOut_ = nullptr;
};
