#include "app/win32/SystemVolume.h"

#include <windows.h>

// The Core Audio headers define their interface ids only with this in front.
#include <initguid.h>

#include <audiopolicy.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <string>
#include <utility>
#include <vector>

#include "app/DebugTrace.h"
#include "app/FollowedPlaybackDevice.h"
#include "app/VolumeScalar.h"
#include "app/win32/ComRef.h"
#include "app/win32/CoreAudioDevices.h"
#include "app/win32/LegacyVolume.h"
#include "ui/win32/TextConversion.h"

namespace {

// The full path of the process's executable (UTF-8), empty when it cannot be asked.
std::string ExecutableOf(std::uint32_t process) {
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (handle == nullptr) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD length = MAX_PATH * 2;
  const BOOL known = QueryFullProcessImageNameW(handle, 0, path, &length);
  CloseHandle(handle);
  return known ? WideToUtf8(path) : std::string();
}

DWORD ForegroundProcess() {
  DWORD process = 0;
  const HWND foreground = GetForegroundWindow();
  if (foreground != nullptr) GetWindowThreadProcessId(foreground, &process);
  return process;
}

class SystemVolume final : public VolumeDevice {
 public:
  // The volumes of one playback device; none (no Core Audio, no device): the legacy controls.
  explicit SystemVolume(IMMDevice* device) {
    if (device == nullptr) return;
    device->Activate(IID_IAudioEndpointVolume, CLSCTX_ALL, nullptr, endpoint_.OutVoid());
    device->Activate(IID_IAudioSessionManager2, CLSCTX_ALL, nullptr, sessions_.OutVoid());
  }

  void TraceSetUp() {
    DebugTrace("SystemVolume endpoint %d sessions %d mixer %d", endpoint_ ? 1 : 0,
               sessions_ ? 1 : 0, mixer_.IsOpen() ? 1 : 0);
  }

  std::optional<std::uint16_t> ReadMaster() override {
    float scalar = 0;
    if (endpoint_ && SUCCEEDED(endpoint_->GetMasterVolumeLevelScalar(&scalar))) {
      return FromVolumeScalar(scalar);
    }
    return mixer_.Read();
  }

  // An endpoint that cannot set its volume (Wine leaves the call unimplemented) hands master
  // steps to the mixer from then on, reads included, so that a step reads back what it set.
  bool WriteMaster(std::uint16_t volume) override {
    if (endpoint_) {
      const HRESULT result = endpoint_->SetMasterVolumeLevelScalar(ToVolumeScalar(volume), nullptr);
      if (SUCCEEDED(result)) return true;
      DebugTrace("SystemVolume endpoint volume not settable (0x%08x): the mixer takes over",
                 static_cast<unsigned>(result));
      endpoint_.Reset();
    }
    return mixer_.Write(volume);
  }

  // A session has one volume for both channels, which keeps left and right equal.
  std::optional<StereoVolume> ReadWave() override {
    if (!sessions_) return waveOut_.Read();
    ComRef<ISimpleAudioVolume> session = ForegroundSession();
    float scalar = 0;
    if (!session || FAILED(session->GetMasterVolume(&scalar))) return std::nullopt;
    return StereoVolume{FromVolumeScalar(scalar), FromVolumeScalar(scalar)};
  }

  bool WriteWave(StereoVolume volume) override {
    if (!sessions_) return waveOut_.Write(volume);
    ComRef<ISimpleAudioVolume> session = ForegroundSession();
    if (!session) return false;
    const HRESULT result = session->SetMasterVolume(ToVolumeScalar(volume.left), nullptr);
    if (FAILED(result))
      DebugTrace("SystemVolume session volume (0x%08x)", static_cast<unsigned>(result));
    return SUCCEEDED(result);
  }

 private:
  // The session of the program the user is looking at; none when it plays no sound.
  ComRef<ISimpleAudioVolume> ForegroundSession() {
    ComRef<ISimpleAudioVolume> found;
    const DWORD process = ForegroundProcess();
    if (process == 0) return found;
    if (process == GetCurrentProcessId()) {
      // Kept: Wine hands out a new session object, with its own volume, on every call.
      if (!ownSession_) sessions_->GetSimpleAudioVolume(nullptr, FALSE, ownSession_.Out());
      if (ownSession_) ownSession_->AddRef();
      *found.Out() = ownSession_.Get();
      return found;
    }
    // Its own session, else one of a process of the same program (a browser plays from a
    // child process).
    ComRef<IAudioSessionEnumerator> list;
    int count = 0;
    if (FAILED(sessions_->GetSessionEnumerator(list.Out())) || FAILED(list->GetCount(&count))) {
      return found;
    }
    std::vector<ComRef<IAudioSessionControl>> controls;
    std::vector<std::uint32_t> owners;
    for (int i = 0; i < count; ++i) {
      ComRef<IAudioSessionControl> control;
      ComRef<IAudioSessionControl2> control2;
      DWORD owner = 0;
      if (FAILED(list->GetSession(i, control.Out())) ||
          FAILED(control->QueryInterface(IID_IAudioSessionControl2, control2.OutVoid())) ||
          FAILED(control2->GetProcessId(&owner))) {
        continue;
      }
      controls.push_back(std::move(control));
      owners.push_back(owner);
    }
    const std::optional<std::size_t> chosen = ChooseSession(owners, process, &ExecutableOf);
    if (chosen) controls[*chosen]->QueryInterface(IID_ISimpleAudioVolume, found.OutVoid());
    return found;
  }

  ComRef<IAudioEndpointVolume> endpoint_;
  ComRef<IAudioSessionManager2> sessions_;
  ComRef<ISimpleAudioVolume> ownSession_;
  LegacyMixer mixer_;
  LegacyWaveOut waveOut_;
};

}  // namespace

std::unique_ptr<VolumeDevice> OpenPlaybackDeviceVolume(IMMDevice* device) {
  auto volume = std::make_unique<SystemVolume>(device);
  volume->TraceSetUp();
  return volume;
}

std::unique_ptr<VolumeDevice> OpenSystemVolume() {
  auto devices = std::make_unique<CoreAudioDevices>(&OpenPlaybackDeviceVolume);
  CoreAudioDevices& watched = *devices;
  auto followed = std::make_unique<FollowedPlaybackDevice>(std::move(devices));
  watched.WatchChanges(followed->ChangeSignal());
  return followed;
}
