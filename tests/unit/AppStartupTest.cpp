#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/CVelloranApp.h"
#include "app/CVelloranDlg.h"
#include "app/RegistryNames.h"
#include "common/HostMessages.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "tests/unit/FakeHookLibrary.h"
#include "ui/CAPPCommonServiceWnd.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kRuleFile = "C:\\Users\\tester\\AppData\\Roaming\\tastron\\config.ini";

class AppStartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeHookLibrary::Reset();
    services_.AddModule("trellin_192.dll", FakeHookLibrary::Exports());
  }

  // The user closes the main window at once with its exit button, and confirms. The first-run
  // About dialog would open after 100 ms; the user is quicker.
  void CloseMainWindowWhenShown() {
    runner_.When(CVelloranDlg::kTemplateId, [this](SimDialogHost& window) {
      shownTitle_ = window.Title();
      services_.AnswerNextMessageBox(message_box::kIdYes);
      window.Click(CVelloranDlg::kExitButton);
    });
  }
  std::optional<RegistryValue> Main() {
    return services_.ReadRegistry(RegistryRoot::CurrentUser, registry_name::kAppKey,
                                  registry_name::kMainWindow);
  }

  FakeServices services_;
  const InstalledServices installedServices_{services_};
  SimDialogRunner runner_;
  const InstalledDialogRunner installedRunner_{runner_};
  CVelloranApp app_;
  std::string shownTitle_;
};

TEST_F(AppStartupTest, ARunningInstanceThatAnswersEndsTheStartAtOnce) {
  services_.WriteRegistry(RegistryRoot::CurrentUser, registry_name::kAppKey, "Main",
                          std::uint32_t{0x5150});
  services_.AddWindow(0x5150, host_message::kBringToFrontAnswer);
  EXPECT_EQ(app_.Run(""), 0);
  ASSERT_EQ(services_.SentMessages().size(), 1u);
  EXPECT_EQ(services_.SentMessages()[0].message, 0x7F11u);
  EXPECT_TRUE(runner_.Ran().empty());
  EXPECT_TRUE(services_.LoadedModules().empty());
  EXPECT_FALSE(services_.UserInterfaceReady());
  EXPECT_EQ(std::get<std::uint32_t>(*Main()), 0x5150u);  // untouched
}

TEST_F(AppStartupTest, AStaleOrForeignMainWindowDoesNotStopTheStart) {
  // A stale handle: the earlier run crashed.
  services_.WriteRegistry(RegistryRoot::CurrentUser, registry_name::kAppKey, "Main",
                          std::string("20816"));  // decimal text reads as its number
  CloseMainWindowWhenShown();
  EXPECT_EQ(app_.Run(""), 0);
  EXPECT_TRUE(services_.SentMessages().empty());
  EXPECT_EQ(runner_.Ran(), std::vector<int>{102});

  // A live window of another program that answers something else.
  services_.WriteRegistry(RegistryRoot::CurrentUser, registry_name::kAppKey, "Main",
                          std::uint32_t{0x7777});
  services_.AddWindow(0x7777, 1);
  CloseMainWindowWhenShown();
  EXPECT_EQ(app_.Run(""), 0);
  EXPECT_EQ(services_.SentMessages().size(), 1u);
  EXPECT_EQ(runner_.Ran(), (std::vector<int>{102, 102}));
}

TEST_F(AppStartupTest, OnlyTheWholeWordStartupDelaysTheServiceWindow) {
  for (const auto& [commandLine, delay] :
       std::vector<std::pair<std::string, unsigned>>{{"STARTUP", 60000},
                                                     {"startup", 60000},
                                                     {"startup now", 5000},
                                                     {"/startup", 5000},
                                                     {" startup", 5000},
                                                     {"", 5000}}) {
    CloseMainWindowWhenShown();
    app_.Run(commandLine);
    EXPECT_EQ(CAPPCommonServiceWnd::Instance().DelayMs(), delay) << '"' << commandLine << '"';
    EXPECT_EQ(CAPPCommonServiceWnd::Instance().Id(), "tastron");
    EXPECT_EQ(CVelloranApp::CommandLine(), commandLine);
  }
}

TEST_F(AppStartupTest, AMissingHookLibraryEndsBeforeAnyWindowAndLeavesTheRegistry) {
  services_.AddModule("trellin_192.dll", {{"StartHook", FakeHookLibrary::Exports()["StartHook"]}});
  services_.AnswerNextMessageBox(message_box::kIdOk);
  EXPECT_EQ(app_.Run(""), 0);
  ASSERT_EQ(services_.MessageBoxes().size(), 1u);
  EXPECT_EQ(services_.MessageBoxes()[0].text, "trellin_192.dll을 찾을 수가 없습니다.");
  EXPECT_TRUE(runner_.Ran().empty());
  EXPECT_TRUE(services_.RegistryIsEmpty());
}

TEST_F(AppStartupTest, TheMainWindowPublishesItselfRunsTheHooksAndCleansUp) {
  CloseMainWindowWhenShown();
  app_.Run("");
  EXPECT_TRUE(services_.UserInterfaceReady());
  EXPECT_EQ(FakeHookLibrary::calls,
            (std::vector<std::string>{std::string("SetConfigINI ") + kRuleFile,
                                      "SetDevconPath C:\\Program Files\\Tastron\\dc64.exe",
                                      "UpdateValue 0", "UpdateValue 5000",
                                      "StartHook " + std::to_string(0x30010), "EnableHookStatue 1",
                                      "StopHook", "EnableHookStatue 0"}));
  // The title with the version read from the version file, or "version" without one.
  EXPECT_TRUE(shownTitle_.ends_with("version")) << shownTitle_;
  EXPECT_EQ(Main(), std::nullopt);  // deleted at exit
  EXPECT_TRUE(services_.FolderExists("C:\\Users\\tester\\AppData\\Roaming\\tastron"));
}

TEST_F(AppStartupTest, VersionAndDeviceToolFollowTheInstallation) {
  services_.SetWin64(false);
  CUtilityLib::CreateMultiFolder("C:\\Program Files\\Tastron", 1);
  services_.Profiles().WriteString("C:\\Program Files\\Tastron\\version.cfg", "Application",
                                   "Version", "2.0.1");
  CUtilityLib::SetAppDataSubPath("tastron");
  CVelloranDlg window(0);
  EXPECT_EQ(window.VersionText(), "2.0.1");
  EXPECT_EQ(window.DeviceTool(), "C:\\Program Files\\Tastron\\dc32.exe");
  EXPECT_EQ(window.RuleFile(), kRuleFile);
}

TEST_F(AppStartupTest, MouseDevicesLeftOffByAnEarlierRunComeBackOn) {
  CUtilityLib::SetAppDataSubPath("tastron");
  CUtilityLib::CreateMultiFolder("C:\\Users\\tester\\AppData\\Roaming\\tastron", 1);
  services_.Profiles().WriteString(kRuleFile, "Mouse", "OffState", "1");
  CVelloranDlg window(0);
  ASSERT_EQ(services_.DeviceToolRuns().size(), 1u);
  EXPECT_EQ(services_.DeviceToolRuns()[0].tool, window.DeviceTool());
  EXPECT_EQ(services_.DeviceToolRuns()[0].parameters, "enable =Mouse");
  EXPECT_EQ(services_.Profiles().GetInt(kRuleFile, "Mouse", "OffState", 0), 1);
  services_.EndDeviceToolRun(0, true);
  EXPECT_EQ(services_.Profiles().GetInt(kRuleFile, "Mouse", "OffState", 0), 0);
}

constexpr int kRestartElevated = 32780;  // 파일 ▸ 관리자 권한으로 다시 시작

// The successor, started elevated, has the running instance let go of its hooks, its tray icon
// and "Main" before it loads anything, and then runs as the only instance.
TEST_F(AppStartupTest, ARestartAsAdministratorHandsOverBeforeTheNewHooksStart) {
  runner_.When(CVelloranDlg::kTemplateId, [this](SimDialogHost& first) {
    EXPECT_EQ(first.Text(1016), "동작 중");
    first.ChooseMenuItem(kRestartElevated);
    ASSERT_EQ(services_.ElevatedStarts().size(), 1u);
    EXPECT_EQ(services_.ElevatedStarts()[0].owner, first.Window());
    EXPECT_EQ(services_.ElevatedStarts()[0].file, "C:\\Program Files\\Tastron\\Tastron.exe");
    EXPECT_EQ(services_.ElevatedStarts()[0].parameters, "takeover");
    EXPECT_FALSE(first.Ended());  // until the successor runs

    // Windows starts the successor with the administrator's rights.
    services_.AddWindow(first.Window(),
                        [this, &first](std::uint32_t message, std::uintptr_t w, std::intptr_t l) {
                          const std::intptr_t answer = first.Send(message, w, l);
                          if (first.Ended()) services_.RemoveWindow(first.Window());
                          return answer;
                        });
    services_.SetElevated(true);
    FakeHookLibrary::calls.clear();
    runner_.When(CVelloranDlg::kTemplateId, [this, &first](SimDialogHost& second) {
      EXPECT_TRUE(first.Ended());
      EXPECT_TRUE(second.IsVisible());
      EXPECT_EQ(std::get<std::uint32_t>(*Main()), second.Window());
      EXPECT_EQ(second.Text(1016), "동작 중 · 관리자 권한");
      services_.AnswerNextMessageBox(message_box::kIdYes);
      second.Click(CVelloranDlg::kExitButton);
    });
    EXPECT_EQ(CVelloranApp().Run("takeover"), 0);
  });
  app_.Run("");
  ASSERT_GE(services_.SentMessages().size(), 1u);
  EXPECT_EQ(services_.SentMessages()[0].message, 0x7F12u);
  const std::vector<std::string>& calls = FakeHookLibrary::calls;
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[0], "StopHook");  // the first instance's, before the successor loads
  EXPECT_EQ(calls[1], "EnableHookStatue 0");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "StopHook"), 2);
  EXPECT_EQ(runner_.Ran(), (std::vector<int>{102, 102}));
  EXPECT_EQ(Main(), std::nullopt);
}

// A take-over while a rule editor is open: the library is let go at once, and the editor's end
// no longer resumes it (the library is unloaded by then).
TEST_F(AppStartupTest, ATakeOverDuringAnEditorLetsGoAndTheEditorsEndCallsNothing) {
  runner_.When(CVelloranDlg::kTemplateId, [this](SimDialogHost& window) {
    runner_.When(136, [&](SimDialogHost& list) {
      FakeHookLibrary::calls.clear();
      EXPECT_EQ(window.Send(0x7F12), 0x8081);
      EXPECT_EQ(FakeHookLibrary::calls,
                (std::vector<std::string>{"StopHook", "EnableHookStatue 0"}));
      EXPECT_EQ(Main(), std::nullopt);
      list.Click(2);
    });
    window.Click(1055);
    EXPECT_TRUE(window.Ended());
  });
  app_.Run("");
  EXPECT_EQ(FakeHookLibrary::calls, (std::vector<std::string>{"StopHook", "EnableHookStatue 0"}));
}

TEST_F(AppStartupTest, ARefusedRestartAsAdministratorChangesNothing) {
  services_.RefuseElevation(true);
  runner_.When(CVelloranDlg::kTemplateId, [this](SimDialogHost& window) {
    const std::size_t calls = FakeHookLibrary::calls.size();
    services_.AnswerNextMessageBox(message_box::kIdOk);
    window.ChooseMenuItem(kRestartElevated);
    EXPECT_EQ(services_.LastMessageBox().text,
              "관리자 권한으로 다시 시작하지 못했습니다.\n\n아무것도 바뀌지 않았습니다. "
              "Tastron은 지금처럼 계속 동작합니다.");
    EXPECT_EQ(services_.LastMessageBox().owner, window.Window());
    EXPECT_FALSE(window.Ended());
    EXPECT_EQ(FakeHookLibrary::calls.size(), calls);  // the hooks still run
    EXPECT_EQ(std::get<std::uint32_t>(*Main()), window.Window());
    services_.AnswerNextMessageBox(message_box::kIdYes);
    window.Click(CVelloranDlg::kExitButton);
  });
  app_.Run("");
  EXPECT_EQ(services_.ElevatedStarts().size(), 1u);
}

TEST_F(AppStartupTest, TheMainWindowAnswersASecondInstanceAndRunsTheWatchdog) {
  runner_.When(CVelloranDlg::kTemplateId, [this](SimDialogHost& window) {
    EXPECT_EQ(window.Send(0x7F11), 0x8080);
    EXPECT_EQ(services_.WindowCalls().back(), "foreground " + std::to_string(window.Window()));
    EXPECT_EQ(window.Send(0x466, 2, 5000), 0);
    window.Send(0x468, 1, 0);
    EXPECT_TRUE(window.TimerRunning(1002));
    window.Send(0x468, 0, 0);
    EXPECT_FALSE(window.TimerRunning(1002));
    services_.AnswerNextMessageBox(message_box::kIdYes);
    window.Click(CVelloranDlg::kExitButton);
  });
  app_.Run("");
  EXPECT_EQ(runner_.Ran(), std::vector<int>{102});
}

}  // namespace
