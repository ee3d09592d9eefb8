// dc32.exe / dc64.exe: switches the devices of the mouse class off or on. The hook library runs
// it with "disable =Mouse" while the away mode lasts and "enable =Mouse" when it ends.
// Exit code 0 when every mouse device was switched (also when there is none), 1 when one or
// more could not be, 2 for a command line it does not understand.
#include <windows.h>
// clang-format off
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>
// clang-format on

#include <cstdio>
#include <cstring>

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: dc disable =Mouse   switch the mouse devices off\n"
               "       dc enable =Mouse    switch them on again\n");
  return 2;
}

// Asks the class installer to switch one device, as the Device Manager does.
bool SwitchDevice(HDEVINFO devices, SP_DEVINFO_DATA& device, bool enable) {
  SP_PROPCHANGE_PARAMS change{};
  change.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
  change.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
  change.StateChange = enable ? DICS_ENABLE : DICS_DISABLE;
  change.Scope = DICS_FLAG_GLOBAL;
  change.HwProfile = 0;
  return SetupDiSetClassInstallParamsA(devices, &device, &change.ClassInstallHeader,
                                       sizeof change) &&
         SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, devices, &device);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || _stricmp(argv[2], "=Mouse") != 0) return Usage();
  bool enable = false;
  if (_stricmp(argv[1], "enable") == 0) {
    enable = true;
  } else if (_stricmp(argv[1], "disable") != 0) {
    return Usage();
  }

  const HDEVINFO devices =
      SetupDiGetClassDevsA(&GUID_DEVCLASS_MOUSE, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "dc: cannot list the mouse devices (error %lu)\n", GetLastError());
    return 1;
  }
  int switched = 0;
  int failed = 0;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
    if (SwitchDevice(devices, device, enable)) {
      ++switched;
    } else {
      ++failed;
      std::fprintf(stderr, "dc: device %lu could not be switched (error %lu)\n", index,
                   GetLastError());
    }
  }
  SetupDiDestroyDeviceInfoList(devices);
  std::printf("%d mouse device(s) %s, %d failed\n", switched, enable ? "enabled" : "disabled",
              failed);
  return failed == 0 ? 0 : 1;
}
