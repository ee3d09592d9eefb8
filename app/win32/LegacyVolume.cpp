#include "app/win32/LegacyVolume.h"

namespace {

// One channel, one unsigned value: the same value goes to every channel.
MIXERCONTROLDETAILS Details(DWORD controlId, MIXERCONTROLDETAILS_UNSIGNED& value) {
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = controlId;
  details.cChannels = 1;
  details.cbDetails = sizeof value;
  details.paDetails = &value;
  return details;
}

}  // namespace

LegacyMixer::LegacyMixer() {
  if (mixerGetNumDevs() == 0) return;
  if (mixerOpen(&mixer_, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
    mixer_ = nullptr;
    return;
  }
  MIXERLINEW line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  if (mixerGetLineInfoW(reinterpret_cast<HMIXEROBJ>(mixer_), &line,
                        MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
      MMSYSERR_NOERROR) {
    return;
  }
  MIXERCONTROLW control{};
  MIXERLINECONTROLSW controls{};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = &control;
  if (mixerGetLineControlsW(reinterpret_cast<HMIXEROBJ>(mixer_), &controls,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
      MMSYSERR_NOERROR) {
    controlId_ = control.dwControlID;
  }
}

LegacyMixer::~LegacyMixer() {
  if (mixer_ != nullptr) mixerClose(mixer_);
}

std::optional<std::uint16_t> LegacyMixer::Read() {
  if (!IsOpen()) return std::nullopt;
  MIXERCONTROLDETAILS_UNSIGNED value{};
  MIXERCONTROLDETAILS details = Details(*controlId_, value);
  if (mixerGetControlDetailsW(reinterpret_cast<HMIXEROBJ>(mixer_), &details,
                              MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
      MMSYSERR_NOERROR) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(value.dwValue);
}

bool LegacyMixer::Write(std::uint16_t volume) {
  if (!IsOpen()) return false;
  MIXERCONTROLDETAILS_UNSIGNED value{volume};
  MIXERCONTROLDETAILS details = Details(*controlId_, value);
  return mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer_), &details,
                                MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) ==
         MMSYSERR_NOERROR;
}

// Some systems (Wine among them) take the volume calls only on an opened device, not on a
// device number in place of a handle; where no device opens, device 0 is addressed by number.
LegacyWaveOut::LegacyWaveOut() {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = 44100;
  format.wBitsPerSample = 16;
  format.nBlockAlign = format.nChannels * format.wBitsPerSample / 8;
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  if (waveOutOpen(&waveOut_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    waveOut_ = nullptr;
  }
}

LegacyWaveOut::~LegacyWaveOut() {
  if (waveOut_ != nullptr) waveOutClose(waveOut_);
}

HWAVEOUT LegacyWaveOut::Handle() const {
  return waveOut_;  // nullptr addresses device 0
}

std::optional<StereoVolume> LegacyWaveOut::Read() {
  DWORD volume = 0;
  if (waveOutGetVolume(Handle(), &volume) != MMSYSERR_NOERROR) return std::nullopt;
  return StereoVolume{static_cast<std::uint16_t>(volume & 0xFFFF),
                      static_cast<std::uint16_t>(volume >> 16)};
}

bool LegacyWaveOut::Write(StereoVolume volume) {
  const DWORD both = (DWORD{volume.right} << 16) | volume.left;
  return waveOutSetVolume(Handle(), both) == MMSYSERR_NOERROR;
}
