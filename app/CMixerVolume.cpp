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

// Another device's rounding says nothing about this one's.
void CMixerVolume::Forget(std::uint64_t opening) {
  if (opening == lastOpening_) return;
  lastMaster_.reset();
  lastWave_.reset();
  lastOpening_ = opening;
}

bool CMixerVolume::GetMasterVolume(std::uint16_t& volume) {
  if (!device_) return false;
  const std::optional<std::uint16_t> read = device_->ReadMaster();
  if (!read) return false;
  volume = Steady(lastMaster_, *read);
  return true;
}

bool CMixerVolume::SetMasterVolume(std::uint16_t volume) {
  if (!device_) return false;
  const VolumeDevice::StepTarget target = device_->ForStep(false);
  if (target.device == nullptr || !target.device->WriteMaster(volume)) return false;
  Forget(target.opening);
  lastMaster_ = Remember(volume, target.device->ReadMaster());
  return true;
}

namespace {

// The volume a step reads: master, or the left channel of wave.
std::optional<std::uint16_t> ReadVolume(VolumeDevice& device, bool master) {
  if (master) return device.ReadMaster();
  const std::optional<StereoVolume> wave = device.ReadWave();
  return wave ? std::optional{wave->left} : std::nullopt;
}

// Both channels take the left channel's new value: a wave step also evens out the balance.
bool WriteVolume(VolumeDevice& device, bool master, std::uint16_t volume) {
  return master ? device.WriteMaster(volume) : device.WriteWave({volume, volume});
}

}  // namespace

CMixerVolume::StepOutcome CMixerVolume::Change(Kind kind, std::int32_t step) {
  if (!device_) return {};
  const bool master = kind == Kind::Master;
  VolumeDevice::StepTarget target = device_->ForStep(false);
  std::optional<std::uint16_t> current =
      target.device != nullptr ? ReadVolume(*target.device, master) : std::nullopt;
  if (!current) {
    const VolumeDevice::StepTarget again = device_->ForStep(true);
    if (again.opening != target.opening && again.device != nullptr) {
      target = again;
      current = ReadVolume(*target.device, master);
    }
  }
  Forget(target.opening);
  if (!current) return {};
  std::optional<SetVolume>& last = master ? lastMaster_ : lastWave_;
  const std::uint16_t stepped = SteppedVolume(Steady(last, *current), step);
  const bool written = WriteVolume(*target.device, master, stepped);
  const std::optional<std::uint16_t> after = ReadVolume(*target.device, master);
  if (written) last = Remember(stepped, after);
  if (!after) return {};
  return {Steady(last, *after), after};
}

std::intptr_t CMixerVolume::OnVolumeStep(std::uintptr_t wParam, std::intptr_t lParam) {
  const auto step = static_cast<std::int32_t>(lParam);
  if (wParam == kMasterStep || wParam == kWaveStep) {
    const StepOutcome outcome = Change(wParam == kMasterStep ? Kind::Master : Kind::Wave, step);
    // What the device holds after a step, for whoever asks why the volume did not move (-1:
    // no volume to step, or none to read back).
    DebugTrace("CMixerVolume::OnVolumeStep(%d, %d) = %d", static_cast<int>(wParam), step,
               outcome.device ? static_cast<int>(*outcome.device) : -1);
  }
  return 0;
}
