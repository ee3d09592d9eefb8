#include "app/CVelloranApp.h"

#include "app/CVelloranDlg.h"
#include "app/ElevatedRestart.h"
#include "app/RegistryNames.h"
#include "common/HostMessages.h"
#include "common/TextCase.h"
#include "ui/CAPPCommonServiceWnd.h"
#include "ui/CUtilityLib.h"

namespace {

std::string g_commandLine;

constexpr unsigned kServiceDelayAtLogon = 60000;
constexpr unsigned kServiceDelay = 5000;

}  // namespace

const std::string& CVelloranApp::CommandLine() {
  return g_commandLine;
}

bool CVelloranApp::IsStartupLaunch(const std::string& commandLine) {
  return EqualsIgnoringCase(commandLine, "startup");
}

// A running instance publishes its window in "Main" and answers 0x7F11 with 0x8080. A stale
// handle, or a window of another program that answers otherwise, does not stop this start.
bool CVelloranApp::AnotherInstanceAnswers() {
  const auto window =
      static_cast<WindowHandle>(static_cast<std::uint32_t>(CUtilityLib::ReadRegistry(
          RegistryRoot::CurrentUser, registry_name::kAppKey, registry_name::kMainWindow, 0)));
  Services& services = CUtilityLib::Get();
  return window != 0 && services.IsWindow(window) &&
         services.SendMessageTo(window, host_message::kBringToFront, 0, 0) ==
             static_cast<std::intptr_t>(host_message::kBringToFrontAnswer);
}

int CVelloranApp::Run(const std::string& commandLine) {
  if (elevated_restart::IsTakeOver(commandLine)) elevated_restart::TakeOverFromRunningInstance();
  if (AnotherInstanceAnswers()) return 0;

  CUtilityLib::Get().InitializeUserInterface();
  CUtilityLib::SetAppDataSubPath("tastron");
  CAPPCommonServiceWnd::Instance().SetServiceID(
      "tastron", "Tastron", IsStartupLaunch(commandLine) ? kServiceDelayAtLogon : kServiceDelay);
  g_commandLine = commandLine;

  CVelloranDlg window(0);
  if (!window.HookLibraryLoaded()) return 0;
  window.DoModal();
  return 0;
}
