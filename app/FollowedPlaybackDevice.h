#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/VolumeDevice.h"

// The playback devices as the volume needs them: which one is the default now, and the volume
// controls of one of them. The Windows build asks Core Audio; tests give a fake.
class PlaybackDevices {
 public:
  virtual ~PlaybackDevices() = default;
  // The id of the default playback device; empty when there is none.
  virtual std::string DefaultDeviceId() = 0;
  // The volume controls of that device; for the empty id, whatever stands in for a device.
  virtual std::unique_ptr<VolumeDevice> Open(const std::string& id) = 0;
};

// A volume device that follows the default playback device: a headset connected after start,
// a new default and a device that went away are all taken at the next step, without a restart.
// The system says that something changed (from a thread of its own); the next step asks which
// device is the default then, and opens it if it is another. A read that fails asks again too,
// in case the word came late.
class FollowedPlaybackDevice final : public VolumeDevice {
 public:
  explicit FollowedPlaybackDevice(std::unique_ptr<PlaybackDevices> devices);
  // The open device goes before the devices' source: its COM references must be released
  // while the source still keeps COM initialised.
  ~FollowedPlaybackDevice() override;
  FollowedPlaybackDevice(const FollowedPlaybackDevice&) = delete;
  FollowedPlaybackDevice& operator=(const FollowedPlaybackDevice&) = delete;

  // Set from any thread when the devices changed; shared, so that a notification that comes
  // while this object goes harms nothing.
  std::shared_ptr<std::atomic<bool>> ChangeSignal() const { return changed_; }
  // The id of the device the steps go to now (empty: none or the stand-in).
  const std::string& OpenDeviceId() const { return openId_; }

  std::optional<std::uint16_t> ReadMaster() override;
  bool WriteMaster(std::uint16_t volume) override;
  std::optional<StereoVolume> ReadWave() override;
  bool WriteWave(StereoVolume volume) override;
  StepTarget ForStep(bool askAgain) override;

 private:
  VolumeDevice* Current(bool askAgain = false);
  template <typename Value, typename Read>
  std::optional<Value> ReadAskingAgain(Read read);

  std::shared_ptr<std::atomic<bool>> changed_ = std::make_shared<std::atomic<bool>>(true);
  std::unique_ptr<PlaybackDevices> devices_;
  std::string openId_;
  std::uint64_t opening_ = 0;  // counts the devices opened
  std::unique_ptr<VolumeDevice> device_;
};

// Which audio session carries the sound of the program in front, given the sessions' owning
// processes in the system's order: the foreground process's own first, else the first of a
// process started from the same executable (a browser plays from a child process).
std::optional<std::size_t> ChooseSession(
    const std::vector<std::uint32_t>& owners, std::uint32_t foreground,
    const std::function<std::string(std::uint32_t process)>& executableOf);
