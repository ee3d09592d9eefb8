#include "app/ElevatedRestart.h"

#include <cstdint>

#include "app/AppTexts.h"
#include "app/RegistryNames.h"
#include "common/HostMessages.h"
#include "common/TextCase.h"
#include "ui/CUtilityLib.h"

namespace elevated_restart {

void Start(WindowHandle mainWindow) {
  Services& services = CUtilityLib::Get();
  if (!services.StartElevated(mainWindow, services.ExecutablePath(), kTakeOverArgument)) {
    services.MessageBox(mainWindow, app_text::kElevatedRestartFailed, app_text::kCaption,
                        message_box::kOk | message_box::kIconInformation);
  }
}

bool IsTakeOver(const std::string& commandLine) {
  return EqualsIgnoringCase(commandLine, kTakeOverArgument);
}

void TakeOverFromRunningInstance() {
  const auto window =
      static_cast<WindowHandle>(static_cast<std::uint32_t>(CUtilityLib::ReadRegistry(
          RegistryRoot::CurrentUser, registry_name::kAppKey, registry_name::kMainWindow, 0)));
  Services& services = CUtilityLib::Get();
  if (window != 0 && services.IsWindow(window)) {
    services.SendMessageTo(window, host_message::kTakeOver, 0, 0);
  }
}

}  // namespace elevated_restart
