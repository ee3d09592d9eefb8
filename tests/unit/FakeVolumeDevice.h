#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "app/VolumeDevice.h"

// A sound system for the volume tests. A missing part (no playback device, no mixer) is a
// volume that reads as nullopt; writes to it fail. The state is shared, so that a test keeps
// looking at it after the program took the device.
struct FakeSoundSystem {
  std::optional<std::uint16_t> master;
  std::optional<StereoVolume> wave;
  int masterWrites = 0;
};

class FakeVolumeDevice final : public VolumeDevice {
 public:
  explicit FakeVolumeDevice(std::shared_ptr<FakeSoundSystem> system) : system_(std::move(system)) {}
  std::optional<std::uint16_t> ReadMaster() override { return system_->master; }
  bool WriteMaster(std::uint16_t volume) override {
    if (!system_->master) return false;
    ++system_->masterWrites;
    system_->master = volume;
    return true;
  }
  std::optional<StereoVolume> ReadWave() override { return system_->wave; }
  bool WriteWave(StereoVolume volume) override {
    if (!system_->wave) return false;
    system_->wave = volume;
    return true;
  }

 private:
  std::shared_ptr<FakeSoundSystem> system_;
};
