#include "app/Autostart.h"

#include <cstddef>
#include <string>

#include "app/AppTexts.h"
#include "app/LogonTask.h"
#include "app/MainWindowOptions.h"
#include "ui/CUtilityLib.h"

namespace autostart {
namespace {

using namespace main_window;

constexpr std::size_t kRunValueBuffer = 260;
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Tastron";
constexpr const char* kStartupArgument = "startup";

bool RunValueRegistered() {
  return !CUtilityLib::ReadRegistryText(RegistryRoot::CurrentUser, kRunKey, kRunValue,
                                        kRunValueBuffer)
              .empty();
}

void WriteRunValue() {
  const std::string executable = CUtilityLib::Get().ExecutablePath().substr(0, kRunValueBuffer);
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, kRunKey, kRunValue,
                             "\"" + executable + "\" " + kStartupArgument);
}

void DeleteRunValue() {
  CUtilityLib::DeleteRegistryValue(RegistryRoot::CurrentUser, kRunKey, kRunValue);
}

void Tell(DialogHost& host, const char* text) {
  CUtilityLib::Get().MessageBox(host.Window(), text, app_text::kCaption,
                                message_box::kOk | message_box::kIconExclamation);
}

}  // namespace

Start Registered() {
  if (CUtilityLib::Get().TaskExists(kLogonTaskName)) return Start::AdministratorTask;
  return RunValueRegistered() ? Start::RunValue : Start::None;
}

void Show(DialogHost& host) {
  const Start start = Registered();
  host.SetChecked(kAutostart, start != Start::None);
  host.SetChecked(kAutostartAsAdministrator, start == Start::AdministratorTask);
  host.Enable(kAutostartAsAdministrator, start != Start::None);
}

void ToggleStart(DialogHost& host) {
  if (!host.IsChecked(kAutostart)) {
    WriteRunValue();
  } else {
    Services& services = CUtilityLib::Get();
    if (services.TaskExists(kLogonTaskName) && !services.DeleteTask(kLogonTaskName)) {
      Tell(host, app_text::kLogonTaskNotRemoved);
      return;
    }
    DeleteRunValue();
  }
  Show(host);
}

void ToggleAsAdministrator(DialogHost& host) {
  Services& services = CUtilityLib::Get();
  if (!host.IsChecked(kAutostartAsAdministrator)) {
    const LogonTask task{services.UserAccount(), services.ExecutablePath(), kStartupArgument};
    if (!services.RegisterTask(kLogonTaskName, LogonTaskXml(task))) {
      Tell(host, app_text::kLogonTaskNotRegistered);
      return;
    }
    DeleteRunValue();
  } else {
    if (!services.DeleteTask(kLogonTaskName)) {
      Tell(host, app_text::kLogonTaskNotRemoved);
      return;
    }
    WriteRunValue();
  }
  Show(host);
}

}  // namespace autostart
