#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// Volumes are 0 (silent) to 65535 (full), as the mixer and waveOut count them.
struct StereoVolume {
  std::uint16_t left = 0;
  std::uint16_t right = 0;
};

// Where the volume steps of Ctrl+wheel go. The Windows build reads and writes the playback
// device's volume ("master") and the volume of the application the user is looking at ("wave");
// tests give a fake. Every call reports failure instead of guessing a value.
class VolumeDevice {
 public:
  virtual ~VolumeDevice() = default;
  virtual std::optional<std::uint16_t> ReadMaster() = 0;
  virtual bool WriteMaster(std::uint16_t volume) = 0;
  virtual std::optional<StereoVolume> ReadWave() = 0;
  virtual bool WriteWave(StereoVolume volume) = 0;

  // The device that one step reads, writes and reads back, so that a step never takes one
  // device's value into another. `opening` changes whenever that is another device than before
  // (what was learned about the last one, such as its rounding, is then forgotten). A device
  // that follows the system's default gives the one it has open, opened anew when the system
  // said the default changed, or at once with `askAgain` (a read failed: the word may be late).
  struct StepTarget {
    VolumeDevice* device = nullptr;
    std::uint64_t opening = 0;
  };
  virtual StepTarget ForStep(bool /*askAgain*/) { return {this, 0}; }
};

// The process's way of opening its volume device; installed once at start-up (the Windows
// build, tests). With none installed there is no device and every step does nothing.
using VolumeDeviceFactory = std::function<std::unique_ptr<VolumeDevice>()>;
void InstallVolumeDeviceFactory(VolumeDeviceFactory factory);
std::unique_ptr<VolumeDevice> OpenVolumeDevice();
