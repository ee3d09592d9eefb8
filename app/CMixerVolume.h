#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "app/VolumeDevice.h"

// The main window's volume control: applies the steps that the hook library posts for
// Ctrl+wheel (master) and Ctrl+Alt+wheel (wave). Set up with the window, the device stays open
// until the window object goes.
class CMixerVolume {
 public:
  CMixerVolume();
  // For tests: a given device, or none.
  explicit CMixerVolume(std::unique_ptr<VolumeDevice> device);
  virtual ~CMixerVolume();
  CMixerVolume(const CMixerVolume&) = delete;
  CMixerVolume& operator=(const CMixerVolume&) = delete;

  bool GetMasterVolume(std::uint16_t& volume);
  bool SetMasterVolume(std::uint16_t volume);

  // Each returns the volume read back after the step (the left channel for wave), or nullopt
  // when the current volume cannot be read: then nothing is set, because a step from a guessed
  // value could jump the volume to full. One step reads and writes one device, whatever the
  // system's default does meanwhile.
  std::optional<std::uint16_t> ChangeMasterVolume(std::int32_t step) {
    return Change(Kind::Master, step).volume;
  }
  std::optional<std::uint16_t> ChangeWaveVolume(std::int32_t step) {
    return Change(Kind::Wave, step).volume;
  }

  // The step message of the hook library: wParam 0 master, 1 wave, anything else nothing.
  std::intptr_t OnVolumeStep(std::uintptr_t wParam, std::intptr_t lParam);

 private:
  enum class Kind { Master, Wave };
  struct StepOutcome {
    std::optional<std::uint16_t> volume;  // as the steps count it (the device's rounding undone)
    std::optional<std::uint16_t> device;  // what the device reads after the step
  };
  StepOutcome Change(Kind kind, std::int32_t step);

  // What a step set and what the device read right after it. A device that keeps volumes
  // coarser than 0..65535 reads back a neighbour of the value set (Wine's 32-bit mixer truncates
  // 55535 to 55534); while it still reads exactly that, nobody else moved the volume and the
  // value set stands, so that steps never drift by the device's rounding.
  struct SetVolume {
    std::uint16_t set = 0;
    std::uint16_t readBack = 0;
  };
  static std::uint16_t Steady(const std::optional<SetVolume>& last, std::uint16_t read);
  static std::optional<SetVolume> Remember(std::uint16_t set, std::optional<std::uint16_t> read);

  std::unique_ptr<VolumeDevice> device_;
  std::optional<SetVolume> lastMaster_;
  std::optional<SetVolume> lastWave_;
  // The values remembered belong to the device of this opening; another forgets them.
  void Forget(std::uint64_t opening);
  std::uint64_t lastOpening_ = 0;
};

// current + step, stopped at 0 and at 65535.
std::uint16_t SteppedVolume(std::uint16_t current, std::int32_t step);
