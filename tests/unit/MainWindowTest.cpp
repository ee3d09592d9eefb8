#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/CVelloranApp.h"
#include "app/CVelloranDlg.h"
#include "common/HookSettingNames.h"
#include "editors/CAboutDlg.h"
#include "editors/CShiftMemoryHelpDlg.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "tests/unit/FakeHookLibrary.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kConfig = "Software\\Orvanne\\Velloran\\Config";
constexpr const char* kRuleFile = "C:\\Users\\tester\\AppData\\Roaming\\tastron\\config.ini";

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeHookLibrary::Reset();
    services_.AddModule("trellin_192.dll", FakeHookLibrary::Exports());
  }
  // Runs the program; `user` acts while the main window is open, then confirms an exit.
  void Run(const std::function<void(SimDialogHost&)>& user, const std::string& commandLine = "") {
    runner_.When(102, [&](SimDialogHost& window) {
      user(window);
      if (!window.Ended()) {
        services_.AnswerNextMessageBox(message_box::kIdYes);
        window.Click(1012);
      }
    });
    app_.Run(commandLine);
  }
  std::string Option(const std::string& name) {
    return CUtilityLib::ReadRegistryText(RegistryRoot::CurrentUser, kConfig, name, 260);
  }
  // Another window came to the front, as the foreground watch tells the main window.
  void BringToFront(SimDialogHost& window, ForegroundProcess front) {
    services_.SetForeground(front);
    ASSERT_TRUE(services_.ForegroundWatch().has_value());
    EXPECT_EQ(services_.ForegroundWatch()->window, window.Window());
    window.Send(services_.ForegroundWatch()->message);
  }
  static std::int32_t Field(const HookSettings& settings, const char* name) {
    return settings.*(FindHookSetting(name)->member);
  }

  FakeServices services_;
  const InstalledServices installedServices_{services_};
  SimDialogRunner runner_;
  const InstalledDialogRunner installedRunner_{runner_};
  CVelloranApp app_;
};

TEST_F(MainWindowTest, TheFirstRunShowsTheDefaultsAndTheAboutDialogOnce) {
  Run([&](SimDialogHost& window) {
    for (int id : {1003, 1004, 1005, 1007, 1009, 1062, 1011, 1021, 1060}) {
      EXPECT_TRUE(window.IsChecked(id)) << id;
    }
    for (int id : {1006, 1067, 1066, 1023, 1063, 1064, 1068, 1019, 1017, 1029, 1001, 1002}) {
      EXPECT_FALSE(window.IsChecked(id)) << id;
    }
    EXPECT_EQ(window.Text(1022), "5");
    EXPECT_EQ(window.Text(1026), "5000");
    EXPECT_TRUE(window.IsEnabled(1066));
    EXPECT_TRUE(window.IsEnabled(1067));
    EXPECT_TRUE(window.IsVisible());
    EXPECT_TRUE(window.Centered());
    EXPECT_EQ(window.Title(), "version");  // the template's title comes from the real host
    ASSERT_TRUE(window.TimerRunning(1000));
    EXPECT_EQ(window.TimerPeriod(1000), 100u);
    runner_.When(129, [](SimDialogHost& about) { about.Click(2); });
    window.FireTimer(1000);
    EXPECT_FALSE(window.TimerRunning(1000));
  });
  EXPECT_EQ(runner_.Ran(), (std::vector<int>{102, 129}));
  EXPECT_EQ(services_.Profiles().GetString(kRuleFile, "Tastron", "Startup", "", 255), "1");
  // Once the first run is over, no About dialog.
  Run([&](SimDialogHost& window) { EXPECT_FALSE(window.TimerRunning(1000)); });
}

TEST_F(MainWindowTest, LoadingPushesTwiceAndTheSecondBlockIsComplete) {
  Run([](SimDialogHost&) {});
  ASSERT_GE(FakeHookLibrary::pushed.size(), 2u);
  const HookSettings& first = FakeHookLibrary::pushed[0];
  const HookSettings& second = FakeHookLibrary::pushed[1];
  // The first push comes from the first edit: 1060 and 1026 are not loaded yet.
  EXPECT_EQ(Field(first, "ShiftWheelDelta"), 5);
  EXPECT_EQ(Field(first, "EnableCtrlWheel"), 0);
  EXPECT_EQ(Field(first, "CtrlWheelUnit"), 0);
  EXPECT_EQ(Field(first, "Lock_CapsLock"), 1);
  const std::vector<std::pair<const char*, int>> defaults = {
      {"Lock_Monitor", 1},          {"LockWorkStation", 0},
      {"InactiveMouse", 0},         {"Lock_ShiftSpace", 1},
      {"Lock_CtrlSpace", 1},        {"Lock_UseRCtrl", 1},
      {"Lock_CapsLock", 1},         {"Lock_Insert", 1},
      {"Lock_NumLock", 1},          {"Lock_Win", 0},
      {"Key_NoteBookMode", 0},      {"Key_KeyChange", 0},
      {"Key_MouseMiddleButton", 0}, {"EnableShiftMemory", 0},
      {"EnableShiftWheel", 1},      {"EnableAltWheel", 0},
      {"RButtonWheel", 0},          {"LButtonWheel", 0},
      {"ShiftWheelDelta", 5},       {"EnableCtrlWheel", 1},
      {"CtrlWheelUnit", 5000}};
  for (const auto& [name, value] : defaults) EXPECT_EQ(Field(second, name), value) << name;
  // Loading writes the edits' texts back; nothing else.
  EXPECT_EQ(Option("ShiftWheelDelta"), "5");
  EXPECT_EQ(Option("CtrlWheelUnit"), "5000");
  EXPECT_EQ(Option("Lock_CapsLock"), "");
}

TEST_F(MainWindowTest, OptionsToggleWriteTheirTextAndPushWithTheirDependants) {
  Run([&](SimDialogHost& window) {
    FakeHookLibrary::pushed.clear();
    window.Click(1006);  // Lock_Win
    EXPECT_TRUE(window.IsChecked(1006));
    EXPECT_EQ(Option("Lock_Win"), "1");
    EXPECT_FALSE(window.IsEnabled(1062));
    EXPECT_FALSE(window.IsEnabled(1066));
    EXPECT_FALSE(window.IsEnabled(1067));
    ASSERT_EQ(FakeHookLibrary::pushed.size(), 1u);
    EXPECT_EQ(FakeHookLibrary::pushed[0].Lock_Win, 1);
    window.Click(1062);  // disabled: no click reaches it
    EXPECT_TRUE(window.IsChecked(1062));
    window.Click(1006);  // Lock_Win off again
    EXPECT_EQ(Option("Lock_Win"), "0");
    EXPECT_TRUE(window.IsEnabled(1062));
    EXPECT_TRUE(window.IsEnabled(1066));
    window.Click(1062);  // Lock_Monitor off
    EXPECT_FALSE(window.IsEnabled(1066));
    window.Click(1062);
    EXPECT_TRUE(window.IsEnabled(1066));
    EXPECT_TRUE(window.IsEnabled(1067));
    window.Click(1060);
    EXPECT_FALSE(window.IsEnabled(1026));
    window.Click(1060);
    EXPECT_TRUE(window.IsEnabled(1026));
    EXPECT_EQ(FakeHookLibrary::pushed.size(), 6u);
    EXPECT_EQ(FakeHookLibrary::pushed.back().EnableCtrlWheel, 1);
  });
}

// Both edits store their text as typed; the block carries the number it stands for, read as
// atoi reads it but saturating at the ends of int.
TEST_F(MainWindowTest, TheVolumeStepIsPushedAsTypedUpToTheEndsOfInt) {
  Run([&](SimDialogHost& window) {
    window.Type(1026, "70000");
    EXPECT_EQ(Option("CtrlWheelUnit"), "70000");
    EXPECT_EQ(FakeHookLibrary::pushed.back().CtrlWheelUnit, 70000);
    window.Type(1026, " \t+12abc");
    EXPECT_EQ(FakeHookLibrary::pushed.back().CtrlWheelUnit, 12);
    window.Type(1026, "99999999999999999999");
    EXPECT_EQ(Option("CtrlWheelUnit"), "99999999999999999999");
    EXPECT_EQ(FakeHookLibrary::pushed.back().CtrlWheelUnit, 2147483647);
    window.Type(1026, "-2147483649");
    EXPECT_EQ(FakeHookLibrary::pushed.back().CtrlWheelUnit, -2147483647 - 1);
    window.Type(1026, "");
    EXPECT_EQ(FakeHookLibrary::pushed.back().CtrlWheelUnit, 0);
    window.Type(1026, "70000");
  });
  // Stored texts come back as numbers at the next start.
  Run([&](SimDialogHost& window) { EXPECT_EQ(window.Text(1026), "70000"); });
}

// The sideways step is the user's number: the box takes it as typed, leaving the box changes
// nothing, and the block carries it whole (the library bounds what one notch posts).
TEST_F(MainWindowTest, TheSidewaysStepIsKeptAsTyped) {
  constexpr std::uintptr_t kKillFocus = (0x0200u << 16) | 1022u;
  Run([&](SimDialogHost& window) {
    EXPECT_EQ(window.TextLimit(1022), 0);
    const std::vector<std::pair<std::string, int>> cases = {
        {"200", 200}, {"99999", 99999}, {"12a", 12}, {"0", 0}, {"", 0}, {"007", 7}};
    for (const auto& [text, pushed] : cases) {
      window.Type(1022, text);
      const std::size_t pushes = FakeHookLibrary::pushed.size();
      window.Send(0x111, kKillFocus);
      EXPECT_EQ(window.Text(1022), text);
      EXPECT_EQ(Option("ShiftWheelDelta"), text);
      EXPECT_EQ(FakeHookLibrary::pushed.size(), pushes) << '"' << text << '"';
      EXPECT_EQ(FakeHookLibrary::pushed.back().ShiftWheelDelta, pushed) << '"' << text << '"';
    }
  });
}

TEST_F(MainWindowTest, AStoredSidewaysStepLoadsAndStaysAsStored) {
  for (const char* stored : {"200", "100", "5000", "1"}) {
    CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, kConfig, "ShiftWheelDelta", stored);
    Run([&](SimDialogHost& window) {
      EXPECT_EQ(window.Text(1022), stored);
      EXPECT_EQ(std::to_string(FakeHookLibrary::pushed.back().ShiftWheelDelta), stored);
    });
    EXPECT_EQ(Option("ShiftWheelDelta"), stored);
  }
}

TEST_F(MainWindowTest, TheKeyCodeDisplayAndEsc) {
  Run([&](SimDialogHost& window) {
    EXPECT_FALSE(window.PressKey(0x100, 0x41, 0x1E, 0));
    EXPECT_EQ(window.Text(1014), "");
    services_.SetKeyDown(0x11, true);
    window.PressKey(0x100, 0x7B, 0x58, 0);  // Ctrl+F12 switches the display on
    EXPECT_EQ(window.Text(1014), "");       // its own press is not shown
    window.PressKey(0x101, 0x7B, 0x58, 0);
    EXPECT_EQ(window.Text(1014), "7b/58");
    services_.SetKeyDown(0x11, false);
    window.PressKey(0x104, 0x41, 0x1E, 0);
    EXPECT_EQ(window.Text(1014), "41/1e");
    EXPECT_TRUE(window.PressKey(0x100, 27, 0x01, 0));  // Esc never closes the window
    EXPECT_FALSE(window.Ended());
  });
}

TEST_F(MainWindowTest, TheHelpLinkOpensTheHelpDialog) {
  Run([&](SimDialogHost& window) {
    runner_.When(138, [](SimDialogHost& help) { help.Click(2); });
    window.ClickLink("vxcp:///maindlg/help_shiftmemory?");
    window.Pump();
    window.ClickLink("vxcp:///maindlg/something_else?");  // does nothing; the copy is freed
    window.Pump();
    EXPECT_EQ(
        window.Send(0x7F0E, 1,
                    reinterpret_cast<std::intptr_t>(strdup("vxcp:///maindlg/help_shiftmemory?"))),
        1);
  });
  EXPECT_EQ(runner_.Ran(), (std::vector<int>{102, 138}));
}

TEST_F(MainWindowTest, ExitIsAskedAndRunsInItsOrder) {
  Run([&](SimDialogHost& window) {
    services_.AnswerNextMessageBox(message_box::kIdNo);
    window.Click(1012);
    EXPECT_FALSE(window.Ended());
    services_.AnswerNextMessageBox(message_box::kIdNo);
    EXPECT_EQ(window.Send(0x112, 0xF060), 0);  // the title bar's close button
    EXPECT_FALSE(window.Ended());
    EXPECT_EQ(services_.LastMessageBox().text, "종료하겠습니까 ?");
    EXPECT_EQ(services_.LastMessageBox().type, 0x24u);  // Yes/No, question
    EXPECT_TRUE(services_.TrayIcon().shown);
    FakeHookLibrary::calls.clear();
    services_.AnswerNextMessageBox(message_box::kIdYes);
    window.Send(0x112, 0xF060);
    EXPECT_TRUE(window.Ended());
  });
  EXPECT_FALSE(services_.TrayIcon().shown);
  EXPECT_EQ(FakeHookLibrary::calls, (std::vector<std::string>{"StopHook", "EnableHookStatue 0"}));
  EXPECT_EQ(
      services_.ReadRegistry(RegistryRoot::CurrentUser, "Software\\Orvanne\\Velloran", "Main"),
      std::nullopt);
}

TEST_F(MainWindowTest, HidingAndRestoring) {
  Run([&](SimDialogHost& window) {
    const std::string handle = std::to_string(window.Window());
    window.Click(1);  // "숨기기"
    EXPECT_FALSE(window.IsVisible());
    window.Send(0x112, 0xF020);  // minimise hides too
    EXPECT_EQ(window.Send(0x8114), 1);
    EXPECT_TRUE(window.IsVisible());
    EXPECT_EQ(window.Send(0x7F11), 0x8080);  // visible already: only brought forward
    window.ChooseMenuItem(32774);
    EXPECT_EQ(services_.WindowCalls(),
              (std::vector<std::string>{"animate into " + handle, "animate into " + handle,
                                        "animate out " + handle, "foreground " + handle,
                                        "foreground " + handle, "animate into " + handle}));
    EXPECT_EQ(window.Send(0x112, 0xF100), 0);  // other system commands go to the default
  });
}

// The tray icon's menu as the user sees it each time: its pause item says what it will do, by
// what the library last said (0x46A), and exit is greyed while an editor runs over the window.
TEST_F(MainWindowTest, TheTrayMenuOpensPausesResumesAndExits) {
  const auto texts = [](const std::vector<PopupMenuItem>& items) {
    std::string joined;
    for (const PopupMenuItem& item : items) {
      joined += (item.command == 0 ? std::string("-") : item.text) + (item.isDefault ? "*" : "") +
                (item.enabled ? "" : "(greyed)") + "|";
    }
    return joined;
  };
  Run([&](SimDialogHost& window) {
    EXPECT_EQ(services_.TrayIcon().menuMessage, 0x8115u);
    window.Click(1);  // hidden into the tray
    services_.AnswerNextMenu(32776);
    EXPECT_EQ(window.Send(0x8115), 1);
    EXPECT_TRUE(window.IsVisible());

    FakeHookLibrary::calls.clear();
    services_.AnswerNextMenu(32777);
    window.Send(0x8115);
    EXPECT_EQ(window.Text(1016), "동작 중");  // not before the library says so
    window.Send(0x46A, 1);
    services_.AnswerNextMenu(32777);
    window.Send(0x8115);
    services_.AnswerNextMenu(0);  // closed by a click elsewhere
    window.Send(0x8115);
    EXPECT_EQ(FakeHookLibrary::calls,
              (std::vector<std::string>{"EnableHookStatue 2", "EnableHookStatue 3"}));

    runner_.When(131, [&](SimDialogHost& list) {
      services_.AnswerNextMenu(0);
      window.Send(0x8115);
      list.Click(dialog_message::kIdCancel);
    });
    window.Click(1020);
    const auto& menus = services_.MenusShown();
    ASSERT_EQ(menus.size(), 5u);
    EXPECT_EQ(texts(menus[0]), "열기(&O)*|일시 정지(&P)|-|종료(&X)|");
    EXPECT_EQ(texts(menus[2]), "열기(&O)*|다시 시작(&R)|-|종료(&X)|");
    EXPECT_EQ(texts(menus[4]), "열기(&O)*|다시 시작(&R)|-|종료(&X)(greyed)|");

    services_.AnswerNextMenu(32778);
    services_.AnswerNextMessageBox(message_box::kIdYes);
    window.Send(0x8115);
    EXPECT_EQ(services_.LastMessageBox().text, "종료하겠습니까 ?");
    EXPECT_TRUE(window.Ended());
  });
}

TEST_F(MainWindowTest, TheTrayIconFollowsItsSwitchAndTheTaskbar) {
  CUtilityLib::WriteRegistry(RegistryRoot::CurrentUser, kConfig, "Hide_TrayIcon", "1");
  Run([&](SimDialogHost& window) {
    EXPECT_TRUE(window.IsChecked(1002));
    EXPECT_FALSE(services_.TrayIcon().shown);
    EXPECT_EQ(services_.TrayIcon().periodMs, 100000u);
    window.Send(services_.RegisterWindowMessageNumber("TaskbarCreated"));
    EXPECT_FALSE(services_.TrayIcon().shown);  // still hidden after the taskbar came back
    window.Click(1002);
    EXPECT_FALSE(window.IsChecked(1002));
    EXPECT_EQ(Option("Hide_TrayIcon"), "0");
    EXPECT_TRUE(services_.TrayIcon().shown);
    EXPECT_EQ(services_.TrayIcon().tooltip, "Tastron (키보드 제어 / 한영전환)");
    window.SetChecked(1002, true);  // the box is not touched on "TaskbarCreated"
    window.Send(services_.RegisterWindowMessageNumber("TaskbarCreated"));
    EXPECT_TRUE(services_.TrayIcon().shown);
    EXPECT_TRUE(window.IsChecked(1002));
  });
}

TEST_F(MainWindowTest, AutostartWritesTheRunValueAndHidesAfterFiveSeconds) {
  constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  Run([&](SimDialogHost& window) {
    window.Click(1001);
    EXPECT_EQ(CUtilityLib::ReadRegistryText(RegistryRoot::CurrentUser, kRun, "Tastron", 260),
              "\"C:\\Program Files\\Tastron\\Tastron.exe\" startup");
  });
  Run(
      [&](SimDialogHost& window) {
        EXPECT_TRUE(window.IsChecked(1001));
        ASSERT_TRUE(window.TimerRunning(1001));
        EXPECT_EQ(window.TimerPeriod(1001), 5000u);
        window.FireTimer(1001);
        EXPECT_FALSE(window.IsVisible());
        EXPECT_FALSE(window.TimerRunning(1001));
        window.Click(1001);
        EXPECT_EQ(services_.ReadRegistry(RegistryRoot::CurrentUser, kRun, "Tastron"), std::nullopt);
      },
      "StartUp");
}

// "관리자 권한으로" moves the start at logon from the Run value to a task of the task scheduler
// and back; a task of the highest rights takes an elevated Tastron, and a refusal changes nothing.
TEST_F(MainWindowTest, AutostartAsAdministratorIsATaskInsteadOfTheRunValue) {
  constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const auto runValue = [&] {
    return CUtilityLib::ReadRegistryText(RegistryRoot::CurrentUser, kRun, "Tastron", 260);
  };
  const std::string startup = "\"C:\\Program Files\\Tastron\\Tastron.exe\" startup";
  Run([&](SimDialogHost& window) {
    EXPECT_FALSE(window.IsEnabled(1080));  // only a start at logon can be elevated
    window.Click(1001);
    EXPECT_TRUE(window.IsEnabled(1080));
    services_.AnswerNextMessageBox(message_box::kIdOk);
    window.Click(1080);  // not elevated: refused
    EXPECT_TRUE(services_.LastMessageBox().text.starts_with(
        "관리자 권한 자동실행을 작업 스케줄러에 등록하지 못했습니다."));
    EXPECT_FALSE(window.IsChecked(1080));
    EXPECT_EQ(runValue(), startup);
    EXPECT_TRUE(services_.Tasks().empty());

    services_.SetElevated(true);
    window.Click(1080);
    EXPECT_TRUE(window.IsChecked(1080));
    EXPECT_TRUE(window.IsChecked(1001));
    EXPECT_EQ(runValue(), "");
    ASSERT_EQ(services_.Tasks().count("Tastron"), 1u);
    const std::string& xml = services_.Tasks().at("Tastron");
    EXPECT_NE(xml.find("<UserId>TESTPC\\tester</UserId>"), std::string::npos);
    EXPECT_NE(xml.find("<Command>C:\\Program Files\\Tastron\\Tastron.exe</Command>"),
              std::string::npos);
    EXPECT_NE(xml.find("<Arguments>startup</Arguments>"), std::string::npos);
  });
  services_.SetElevated(false);
  Run([&](SimDialogHost& window) {
    EXPECT_TRUE(window.IsChecked(1001));
    EXPECT_TRUE(window.IsChecked(1080));
    const std::size_t shown = services_.MessageBoxes().size();
    services_.AnswerNextMessageBox(message_box::kIdOk, 2);
    window.Click(1080);  // removing the task is refused too, and so is ending the start
    window.Click(1001);
    EXPECT_TRUE(services_.LastMessageBox().text.starts_with(
        "작업 스케줄러에서 관리자 권한 자동실행을 지우지 못했습니다."));
    EXPECT_EQ(services_.MessageBoxes().size(), shown + 2);
    EXPECT_TRUE(window.IsChecked(1080));
    EXPECT_TRUE(window.IsChecked(1001));
    EXPECT_EQ(services_.Tasks().size(), 1u);

    services_.SetElevated(true);
    window.Click(1080);  // back to the Run value
    EXPECT_FALSE(window.IsChecked(1080));
    EXPECT_TRUE(window.IsChecked(1001));
    EXPECT_EQ(runValue(), startup);
    EXPECT_TRUE(services_.Tasks().empty());
    window.Click(1080);
    window.Click(1001);  // no start at logon of either kind
    EXPECT_FALSE(window.IsChecked(1001));
    EXPECT_FALSE(window.IsChecked(1080));
    EXPECT_FALSE(window.IsEnabled(1080));
    EXPECT_EQ(runValue(), "");
    EXPECT_TRUE(services_.Tasks().empty());
  });
}

TEST(InformationDialogs, TextsAsTheyStand) {
  EXPECT_EQ(CAboutDlg::HeaderText("1.2"),
            "<font color=#800000><B>Tastron</B></font><br><br>버젼 : 1.2<br>홈페이지 : "
            "<a href=https://tastron.kr>https://tastron.kr</a>");
  EXPECT_TRUE(std::string(CAboutDlg::BodyText()).ends_with("너무 편하네요 ^^"));
  EXPECT_TRUE(
      CShiftMemoryHelpDlg::HelpText().starts_with("<b>Shift 기억 기능이란</b><br><br>Shift를"));
  EXPECT_TRUE(CShiftMemoryHelpDlg::HelpText().ends_with("<br>Shift키를 2번 누르면 기억이 해제됨"));
}

TEST(InformationDialogs, AboutOpensTheHomePageOnEnterAndStaysOpen) {
  FakeServices services;
  const InstalledServices installedServices(services);
  SimDialogRunner runner;
  const InstalledDialogRunner installedRunner(runner);
  CAboutDlg about("3.0");
  runner.When(129, [&](SimDialogHost& dialog) {
    ASSERT_NE(dialog.Markup(1008), nullptr);
    EXPECT_EQ(dialog.Markup(1008)->highlight, 0xFF0000u);
    ASSERT_NE(dialog.Markup(1010), nullptr);
    EXPECT_TRUE(dialog.Markup(1010)->hasBackground);
    EXPECT_EQ(dialog.Markup(1010)->background, 0xFFFFFFu);
    EXPECT_EQ(dialog.Markup(1010)->margin, 5);
    EXPECT_NE(dialog.Text(1008).find("버젼 : 3.0<br>"), std::string::npos);
    dialog.Click(1);
    EXPECT_FALSE(dialog.Ended());
    ASSERT_EQ(services.StartedPrograms().size(), 1u);
    EXPECT_EQ(services.StartedPrograms()[0].file, CAboutDlg::kOpenedHomePage);
    EXPECT_EQ(services.StartedPrograms()[0].show, 5);
    dialog.Click(2);
  });
  EXPECT_EQ(about.DoModal(), 2);
}

// The key map list runs with the hooks paused, whatever it ends with, and while it runs the
// main window opens nothing else: neither a second list (whose end would resume the hooks
// under the first) nor About.
TEST_F(MainWindowTest, TheKeyMapListRunsAloneWithTheHooksPaused) {
  Run([&](SimDialogHost& window) {
    FakeHookLibrary::calls.clear();
    runner_.When(136, [&](SimDialogHost& list) {
      EXPECT_EQ(FakeHookLibrary::calls, std::vector<std::string>{"EnableHookStatue 0"});
      EXPECT_FALSE(window.IsWindowEnabled());
      window.Click(1055);
      window.ChooseMenuItem(32771);
      list.Click(2);
    });
    window.Click(1055);
    EXPECT_EQ(FakeHookLibrary::calls,
              (std::vector<std::string>{"EnableHookStatue 0", "EnableHookStatue 1"}));
    EXPECT_TRUE(window.IsWindowEnabled());
    runner_.When(136, [&](SimDialogHost& list) { list.Click(1); });
    window.Click(1055);
    EXPECT_EQ(FakeHookLibrary::calls.back(), "EnableHookStatue 1");
  });
  EXPECT_EQ(runner_.Ran(), (std::vector<int>{102, 136, 136}));
}

TEST_F(MainWindowTest, TheHotkeyListRunsWithTheHooksPausedWhateverItsResult) {
  Run([&](SimDialogHost& window) {
    for (int closing : {dialog_message::kIdCancel, dialog_message::kIdOk}) {
      FakeHookLibrary::calls.clear();
      runner_.When(131, [&](SimDialogHost& list) {
        EXPECT_EQ(FakeHookLibrary::calls, std::vector<std::string>{"EnableHookStatue 0"});
        EXPECT_FALSE(window.IsWindowEnabled());
        list.Click(closing);
      });
      window.Click(1020);
      EXPECT_EQ(FakeHookLibrary::calls,
                (std::vector<std::string>{"EnableHookStatue 0", "EnableHookStatue 1"}));
    }
  });
  EXPECT_EQ(runner_.Ran(), (std::vector<int>{102, 131, 131}));
}

// The banner's one line follows the hooks: running, paused while an editor is open or by the
// user (whose pause outlasts the editor, and shows in the tray icon's tip too), away (until
// input after it began, or the watchdog's stop), and the library's reinstallations with their
// time; the away mode outranks an open editor.
TEST_F(MainWindowTest, TheBannerSaysWhatTheHooksAreDoing) {
  Run([&](SimDialogHost& window) {
    EXPECT_EQ(window.Text(1016), "동작 중");
    runner_.When(131, [&](SimDialogHost& list) {
      EXPECT_EQ(window.Text(1016), "일시 정지 (설정 창이 열려 있음)");
      list.Click(dialog_message::kIdCancel);
    });
    window.Click(1020);
    EXPECT_EQ(window.Text(1016), "동작 중");

    window.Send(0x46A, 1);
    EXPECT_EQ(window.Text(1016), "일시 정지 (다시 시작: 단축키 또는 트레이 메뉴)");
    EXPECT_EQ(services_.TrayIcon().tooltip, "Tastron (일시 정지)");
    runner_.When(131, [&](SimDialogHost& list) { list.Click(dialog_message::kIdCancel); });
    window.Click(1020);
    EXPECT_EQ(window.Text(1016), "일시 정지 (다시 시작: 단축키 또는 트레이 메뉴)");
    window.Send(0x46A, 0);
    EXPECT_EQ(window.Text(1016), "동작 중");
    EXPECT_EQ(services_.TrayIcon().tooltip, "Tastron (키보드 제어 / 한영전환)");

    services_.SetTickCount(5000);
    services_.SetLastInputTick(4990);  // the L release that began it
    window.Send(0x468, 1);
    EXPECT_EQ(window.Text(1016), "자리 비움 모드");
    runner_.When(134, [&](SimDialogHost& editor) {
      EXPECT_EQ(window.Text(1016), "자리 비움 모드");
      editor.Click(dialog_message::kIdCancel);
    });
    window.Click(1024);
    services_.SetTickCount(5500);
    window.FireTimer(1002);
    EXPECT_EQ(window.Text(1016), "자리 비움 모드");  // no input since
    services_.SetLastInputTick(5600);
    services_.SetTickCount(6000);
    window.FireTimer(1002);
    EXPECT_EQ(window.Text(1016), "동작 중");

    services_.SetClockTime("14:05");
    window.Send(0x469, 1);
    EXPECT_EQ(window.Text(1016), "동작 중 · 후크 재설치 14:05");
    services_.SetClockTime("14:06");
    window.Send(0x469, 0);
    EXPECT_EQ(window.Text(1016), "후크 재설치 실패 14:06");
    services_.SetClockTime("14:07");
    window.Send(0x469, 1);
    EXPECT_EQ(window.Text(1016), "동작 중 · 후크 재설치 14:07");

    // A sleep in the away mode: the watchdog stops at the gap, and the banner leaves it too.
    window.Send(0x468, 1);
    services_.SetTickCount(60000);
    window.FireTimer(1002);
    EXPECT_EQ(window.Text(1016), "동작 중 · 후크 재설치 14:07");
    window.Send(0x468, 1);
    window.Send(0x468, 0);
    EXPECT_EQ(window.Text(1016), "동작 중 · 후크 재설치 14:07");
  });
}

TEST_F(MainWindowTest, TheBannerSaysWhenTheHooksCouldNotStart) {
  FakeHookLibrary::startAnswer = 0;
  services_.AnswerNextMessageBox(message_box::kIdOk);
  Run([&](SimDialogHost& window) {
    EXPECT_EQ(window.Text(1016), "후크를 설치하지 못했습니다");
    window.Send(0x469, 1);
    EXPECT_EQ(window.Text(1016), "동작 중 · 후크 재설치 12:00");
  });
}

// Windows gives the hooks nothing while a window of a process of higher rights is in front:
// the line and the tip say so while it is there, and go back when another window comes.
TEST_F(MainWindowTest, TheBannerSaysWhenAProgramOfHigherRightsIsInFront) {
  constexpr const char* kOutranked = "관리자 권한 프로그램에서는 동작하지 않음";
  constexpr std::uint32_t kMedium = 0x2000;
  constexpr std::uint32_t kHigh = 0x3000;
  constexpr std::uint32_t kSystem = 0x4000;
  struct Case {
    const char* what;
    std::optional<std::uint32_t> ownLevel;
    ForegroundProcess front;
    const char* banner;  // while that window is in front
  };
  const Case cases[] = {
      {"an elevated program", kMedium, {true, kHigh}, kOutranked},
      {"a process that cannot be asked", kMedium, {true, std::nullopt}, kOutranked},
      {"a program of lower rights", kMedium, {true, 0x1000}, "동작 중"},
      {"no window in front", kMedium, {false, std::nullopt}, "동작 중"},
      {"Windows without integrity levels", std::nullopt, {true, std::nullopt}, "동작 중"},
      {"an elevated program beside an elevated Tastron",
       kHigh,
       {true, kHigh},
       "동작 중 · 관리자 권한"},
      {"a system process beside an elevated Tastron",
       kHigh,
       {true, kSystem},
       "관리자 권한 프로그램에서는 동작하지 않음 · 관리자 권한"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    services_.SetIntegrityLevel(c.ownLevel);
    services_.SetElevated(c.ownLevel == kHigh);
    const ForegroundProcess own{true, c.ownLevel};
    services_.SetForeground(own);
    const std::string running = c.ownLevel == kHigh ? "동작 중 · 관리자 권한" : "동작 중";
    const bool outranked = std::string(c.banner).find(kOutranked) == 0;
    Run([&](SimDialogHost& window) {
      EXPECT_EQ(window.Text(1016), running);
      BringToFront(window, c.front);
      EXPECT_EQ(window.Text(1016), c.banner);
      EXPECT_EQ(services_.TrayIcon().tooltip,
                outranked ? "Tastron (관리자 권한 프로그램에서는 동작하지 않음)"
                          : "Tastron (키보드 제어 / 한영전환)");
      BringToFront(window, own);
      EXPECT_EQ(window.Text(1016), running);
      EXPECT_EQ(services_.TrayIcon().tooltip, "Tastron (키보드 제어 / 한영전환)");
    });
    EXPECT_FALSE(services_.ForegroundWatch().has_value()) << "the watch outlived the window";
  }
}

// The note takes the place of "running" only; a higher window in front already at the start is
// told at once; a take-over ends the watch with everything else.
TEST_F(MainWindowTest, AProgramOfHigherRightsInFrontYieldsToWhatStopsTheHooksAnyway) {
  services_.SetForeground({true, 0x3000});
  Run([&](SimDialogHost& window) {
    EXPECT_EQ(window.Text(1016), "관리자 권한 프로그램에서는 동작하지 않음");
    ASSERT_FALSE(services_.DebugLines().empty());
    EXPECT_NE(services_.DebugLines().back().find(
                  "ForegroundRights: a window, level 3000, ours 2000: outranked"),
              std::string::npos);
    window.Send(0x46A, 1);
    EXPECT_EQ(window.Text(1016), "일시 정지 (다시 시작: 단축키 또는 트레이 메뉴)");
    EXPECT_EQ(services_.TrayIcon().tooltip, "Tastron (일시 정지)");
    window.Send(0x46A, 0);
    EXPECT_EQ(services_.TrayIcon().tooltip, "Tastron (관리자 권한 프로그램에서는 동작하지 않음)");
    window.Send(0x468, 1);
    EXPECT_EQ(window.Text(1016), "자리 비움 모드");
    window.Send(0x468, 0);
    services_.SetClockTime("14:05");
    window.Send(0x469, 1);
    EXPECT_EQ(window.Text(1016), "관리자 권한 프로그램에서는 동작하지 않음 · 후크 재설치 14:05");
    window.Send(0x469, 0);
    EXPECT_EQ(window.Text(1016), "후크 재설치 실패 14:05");
    window.Send(0x469, 1);
    EXPECT_EQ(window.Send(0x7F12), 0x8081);
    EXPECT_FALSE(services_.ForegroundWatch().has_value());
  });
}

}  // namespace
