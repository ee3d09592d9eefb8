#include "app/VolumeDevice.h"

#include <utility>

namespace {

VolumeDeviceFactory& Factory() {
  static VolumeDeviceFactory factory;
  return factory;
}

}  // namespace

void InstallVolumeDeviceFactory(VolumeDeviceFactory factory) {
  Factory() = std::move(factory);
}

std::unique_ptr<VolumeDevice> OpenVolumeDevice() {
  return Factory() ? Factory()() : nullptr;
}
