#include "app/FollowedPlaybackDevice.h"

#include <utility>

#include "common/TextCase.h"

FollowedPlaybackDevice::FollowedPlaybackDevice(std::unique_ptr<PlaybackDevices> devices)
    : devices_(std::move(devices)) {
  Current();
}

FollowedPlaybackDevice::~FollowedPlaybackDevice() {
  device_.reset();
}

VolumeDevice* FollowedPlaybackDevice::Current(bool askAgain) {
  const bool changed = changed_->exchange(false);
  if (!changed && !askAgain && device_) return device_.get();
  std::string id = devices_->DefaultDeviceId();
  // The same device stays open: it keeps what it learned (an endpoint that cannot be set).
  if (!device_ || id != openId_) {
    device_.reset();
    device_ = devices_->Open(id);
    openId_ = std::move(id);
    ++opening_;
  }
  return device_.get();
}

template <typename Value, typename Read>
std::optional<Value> FollowedPlaybackDevice::ReadAskingAgain(Read read) {
  VolumeDevice* device = Current();
  std::optional<Value> value = device != nullptr ? read(*device) : std::nullopt;
  if (value) return value;
  const std::string before = openId_;
  device = Current(true);
  if (device == nullptr || openId_ == before) return value;
  return read(*device);
}

std::optional<std::uint16_t> FollowedPlaybackDevice::ReadMaster() {
  return ReadAskingAgain<std::uint16_t>([](VolumeDevice& device) { return device.ReadMaster(); });
}

bool FollowedPlaybackDevice::WriteMaster(std::uint16_t volume) {
  VolumeDevice* device = Current();
  return device != nullptr && device->WriteMaster(volume);
}

std::optional<StereoVolume> FollowedPlaybackDevice::ReadWave() {
  return ReadAskingAgain<StereoVolume>([](VolumeDevice& device) { return device.ReadWave(); });
}

bool FollowedPlaybackDevice::WriteWave(StereoVolume volume) {
  VolumeDevice* device = Current();
  return device != nullptr && device->WriteWave(volume);
}

VolumeDevice::StepTarget FollowedPlaybackDevice::ForStep(bool askAgain) {
  VolumeDevice* device = Current(askAgain);
  return {device, opening_};
}

std::optional<std::size_t> ChooseSession(
    const std::vector<std::uint32_t>& owners, std::uint32_t foreground,
    const std::function<std::string(std::uint32_t process)>& executableOf) {
  if (foreground == 0) return std::nullopt;
  for (std::size_t i = 0; i < owners.size(); ++i) {
    if (owners[i] == foreground) return i;
  }
  const std::string program = executableOf(foreground);
  if (program.empty()) return std::nullopt;
  for (std::size_t i = 0; i < owners.size(); ++i) {
    // Process 0 is the system's sounds, never a program's.
    if (owners[i] != 0 && EqualsIgnoringCase(executableOf(owners[i]), program)) return i;
  }
  return std::nullopt;
}
