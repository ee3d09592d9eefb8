#include "app/Autostart.h"

#include <cstddef>
#include <string>

#include "ui/CUtilityLib.h"

namespace autostart {
namespace {
constexpr std::size_t kRunValueBuffer = 260;
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Tastron";
}  // namespace

bool IsRegistered() {
  return !CUtilityLib::ReadRegistryText(RegistryRoot::CurrentUser, kRunKey, kRunValue,
                                        kRunValueBuffer)
              .empty();
}

void Register() {
  const std::string executable = CUtilityLib::Get().ExecutablePath().substr(0, kRunValueBuffer);
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, kRunKey, kRunValue,
                             "\"" + executable + "\" startup");
}

void Unregister() {
  CUtilityLib::DeleteRegistryValue(RegistryRoot::CurrentUser, kRunKey, kRunValue);
}

}  // namespace autostart
