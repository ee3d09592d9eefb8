#include "app/win32/CoreAudioDevices.h"

#include <utility>

#include "app/DebugTrace.h"
#include "ui/win32/TextConversion.h"

// COM interfaces have no virtual destructor: the object ends itself in Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The system calls it on a thread of its own: it only raises the shared flag, which the next
// volume step reads on the user-interface thread.
class CoreAudioDevices::Listener final : public IMMNotificationClient {
 public:
  explicit Listener(std::shared_ptr<std::atomic<bool>> changed) : changed_(std::move(changed)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == __uuidof(IUnknown) || id == __uuidof(IMMNotificationClient)) {
      *object = static_cast<IMMNotificationClient*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return Changed(); }
  HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return Changed(); }
  HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return Changed(); }
  HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) override {
    return flow == eRender && role == eConsole ? Changed() : S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override {
    return S_OK;
  }

 private:
  HRESULT Changed() {
    changed_->store(true);
    return S_OK;
  }
  std::shared_ptr<std::atomic<bool>> changed_;
  std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

CoreAudioDevices::CoreAudioDevices(Opener open) : open_(std::move(open)) {
  comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                              __uuidof(IMMDeviceEnumerator), enumerator_.OutVoid()))) {
    enumerator_.Reset();  // no Core Audio: the legacy controls
  }
}

CoreAudioDevices::~CoreAudioDevices() {
  if (listener_ != nullptr) {
    enumerator_->UnregisterEndpointNotificationCallback(listener_);
    listener_->Release();
  }
  enumerator_.Reset();
  if (comInitialised_) CoUninitialize();
}

void CoreAudioDevices::WatchChanges(std::shared_ptr<std::atomic<bool>> changed) {
  if (!enumerator_ || listener_ != nullptr) return;
  listener_ = new Listener(std::move(changed));
  if (FAILED(enumerator_->RegisterEndpointNotificationCallback(listener_))) {
    // Then a failed read still asks for the default again.
    DebugTrace("CoreAudioDevices: no device notifications");
    listener_->Release();
    listener_ = nullptr;
  }
}

std::string CoreAudioDevices::DefaultDeviceId() {
  if (!enumerator_) return {};
  ComRef<IMMDevice> device;
  if (FAILED(enumerator_->GetDefaultAudioEndpoint(eRender, eConsole, device.Out()))) return {};
  LPWSTR id = nullptr;
  if (FAILED(device->GetId(&id)) || id == nullptr) return {};
  std::string text = WideToUtf8(id);
  CoTaskMemFree(id);
  return text;
}

std::unique_ptr<VolumeDevice> CoreAudioDevices::Open(const std::string& id) {
  ComRef<IMMDevice> device;
  if (enumerator_ && !id.empty() &&
      FAILED(enumerator_->GetDevice(Utf8ToWide(id).c_str(), device.Out()))) {
    device.Reset();
  }
  return open_(device.Get());
}
