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
  // A device that keeps volumes coarser than it is given reads back less than was set (Wine's
  // 32-bit mixer reads 55534 after 55535 was set): every read of a set value is this much lower.
  std::uint16_t readBackLoss = 0;
};

class FakeVolumeDevice final : public VolumeDevice {
 public:
  explicit FakeVolumeDevice(std::shared_ptr<FakeSoundSystem> system) : system_(std::move(system)) {}
  std::optional<std::uint16_t> ReadMaster() override {
    if (!system_->master) return std::nullopt;
    return Coarse(*system_->master);
  }
  bool WriteMaster(std::uint16_t volume) override {
    if (!system_->master) return false;
    ++system_->masterWrites;
    system_->master = volume;
    return true;
  }
  std::optional<StereoVolume> ReadWave() override {
    if (!system_->wave) return std::nullopt;
    return StereoVolume{Coarse(system_->wave->left), Coarse(system_->wave->right)};
  }
  bool WriteWave(StereoVolume volume) override {
    if (!system_->wave) return false;
    system_->wave = volume;
    return true;
  }

 private:
  std::uint16_t Coarse(std::uint16_t volume) const {
    return static_cast<std::uint16_t>(
        volume > system_->readBackLoss ? volume - system_->readBackLoss : 0);
  }

  std::shared_ptr<FakeSoundSystem> system_;
};
