#pragma once

#include <windows.h>

#include <mmdeviceapi.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app/FollowedPlaybackDevice.h"
#include "app/win32/ComRef.h"

// The playback devices as Core Audio knows them: the default render endpoint of the console
// role, opened by id; and, once watched, a word on every change of devices (one added, removed,
// enabled, disabled, a new default) through IMMNotificationClient. Without Core Audio there is
// no device, and the empty id opens the legacy controls.
class CoreAudioDevices final : public PlaybackDevices {
 public:
  using Opener = std::function<std::unique_ptr<VolumeDevice>(IMMDevice* device)>;
  explicit CoreAudioDevices(Opener open);
  ~CoreAudioDevices() override;
  CoreAudioDevices(const CoreAudioDevices&) = delete;
  CoreAudioDevices& operator=(const CoreAudioDevices&) = delete;

  void WatchChanges(std::shared_ptr<std::atomic<bool>> changed);

  std::string DefaultDeviceId() override;
  std::unique_ptr<VolumeDevice> Open(const std::string& id) override;

 private:
  class Listener;
  Opener open_;
  bool comInitialised_ = false;
  ComRef<IMMDeviceEnumerator> enumerator_;
  Listener* listener_ = nullptr;  // registered with the enumerator, one reference ours
};
