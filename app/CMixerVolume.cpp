#include "app/CMixerVolume.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "app/DebugTrace.h"

namespace {

constexpr std::uintptr_t kMasterStep = 0;
constexpr std::uintptr_t kWaveStep = 1;
constexpr std::int64_t kFullVolume = 0xFFFF;
// How far a device's read-back may lie from the value set and still count as its rounding;
// anything further is the device's own decision (a floor, a clamp) and is taken as it reads.
constexpr int kRoundingTolerance = 8;

}  // namespace

std::uint16_t SteppedVolume(std::uint16_t current, std::int32_t step) {
  // In 64 bits: a step near the ends of int (the step box has no range) cannot wrap around.
  const std::int64_t stepped = std::int64_t{current} + step;
  return static_cast<std::uint16_t>(std::clamp<std::int64_t>(stepped, 0, kFullVolume));
}

CMixerVolume::CMixerVolume() : device_(OpenVolumeDevice()) {}

CMixerVolume::CMixerVolume(std::unique_ptr<VolumeDevice> device) : device_(std::move(device)) {}

CMixerVolume::~CMixerVolume() = default;

std::uint16_t CMixerVolume::Steady(const std::optional<SetVolume>& last, std::uint16_t read) {
  return last && last->readBack == read ? last->set : read;
}

std::optional<CMixerVolume::SetVolume> CMixerVolume::Remember(std::uint16_t set,
                                                              std::optional<std::uint16_t> read) {
  if (!read || std::abs(int{set} - int{*read}) > kRoundingTolerance) return std::nullopt;
  return SetVolume{set, *read};
}

bool CMixerVolume::GetMasterVolume(std::uint16_t& volume) {
  if (!device_) return false;
  const std::optional<std::uint16_t> read = device_->ReadMaster();
  if (!read) return false;
  volume = Steady(lastMaster_, *read);
  return true;
}

bool CMixerVolume::SetMasterVolume(std::uint16_t volume) {
  if (!device_ || !device_->WriteMaster(volume)) return false;
  lastMaster_ = Remember(volume, device_->ReadMaster());
  return true;
}

std::optional<std::uint16_t> CMixerVolume::ChangeMasterVolume(std::int32_t step) {
  std::uint16_t current = 0;
  if (!GetMasterVolume(current)) return std::nullopt;
  SetMasterVolume(SteppedVolume(current, step));
  if (!GetMasterVolume(current)) return std::nullopt;
  return current;
}

// Both channels take the left channel's new value: a wave step also evens out the balance.
std::optional<std::uint16_t> CMixerVolume::ChangeWaveVolume(std::int32_t step) {
  if (!device_) return std::nullopt;
  const std::optional<StereoVolume> current = device_->ReadWave();
  if (!current) return std::nullopt;
  const std::uint16_t stepped = SteppedVolume(Steady(lastWave_, current->left), step);
  const bool written = device_->WriteWave({stepped, stepped});
  const std::optional<StereoVolume> after = device_->ReadWave();
  if (written) lastWave_ = Remember(stepped, after ? std::optional{after->left} : std::nullopt);
  if (!after) return std::nullopt;
  return Steady(lastWave_, after->left);
}

std::intptr_t CMixerVolume::OnVolumeStep(std::uintptr_t wParam, std::intptr_t lParam) {
  const auto step = static_cast<std::int32_t>(lParam);
  std::optional<std::uint16_t> after;
  if (wParam == kMasterStep) after = ChangeMasterVolume(step);
  if (wParam == kWaveStep) after = ChangeWaveVolume(step);
  if (wParam == kMasterStep || wParam == kWaveStep) {
    // What a step did, for whoever asks why the volume did not move (-1: no volume to step).
    DebugTrace("CMixerVolume::OnVolumeStep(%d, %d) = %d", static_cast<int>(wParam), step,
               after ? static_cast<int>(*after) : -1);
  }
  return 0;
}
