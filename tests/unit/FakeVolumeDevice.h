#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

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
  // Called after each master read, once: the system changing something between two calls.
  std::function<void()> afterMasterRead;
  // Devices of this system that are open (not yet destroyed).
  int open = 0;
};

class FakeVolumeDevice final : public VolumeDevice {
 public:
  explicit FakeVolumeDevice(std::shared_ptr<FakeSoundSystem> system) : system_(std::move(system)) {
    ++system_->open;
  }
  ~FakeVolumeDevice() override { --system_->open; }
  FakeVolumeDevice(const FakeVolumeDevice&) = delete;
  FakeVolumeDevice& operator=(const FakeVolumeDevice&) = delete;
  std::optional<std::uint16_t> ReadMaster() override {
    const std::optional<std::uint16_t> read =
        system_->master ? std::optional{Coarse(*system_->master)} : std::nullopt;
    if (auto then = std::exchange(system_->afterMasterRead, nullptr)) then();
    return read;
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
