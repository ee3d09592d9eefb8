#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "editors/CAboutDlg.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "ui/CAPPMainAdCtrl.h"
#include "ui/CDialog.h"
#include "ui/CPLTrayIconWnd.h"
#include "ui/CPathEdit.h"
#include "ui/CResizeDlg.h"
#include "ui/CStyledListCtrl.h"
#include "ui/CUtilityLib.h"
#include "ui/CVXCP.h"
#include "ui/PathText.h"

namespace {

// A dialog with a message map of each kind and anchored controls.
class SampleDlg : public CResizeDlg {
 public:
  SampleDlg() : CResizeDlg(500, 0) {
    SetIcon(128);
    MoveXYRate(1, 100, 0);    // sticks to the right edge
    SizeXYRate(2, 100, 100);  // grows with the window
    MoveXYRate(3, 0, 100);    // sticks to the bottom and grows in width
    SizeXYRate(3, 50, 0);
    OnCommand(10, [this] { log.push_back("clicked 10"); });
    OnNotify(11, dialog_message::kEditUpdate,
             [this] { log.push_back("typed " + Host().Text(11)); });
    OnMessage(0x8114, [this](std::uintptr_t w, std::intptr_t l) {
      log.push_back("message " + std::to_string(w) + " " + std::to_string(l));
      return 7;
    });
  }
  bool PreTranslateMessage(const LoopMessage& message) override {
    return message.message == 0x100 && message.wParam == 0x7B;  // takes F12 presses
  }
  std::vector<std::string> log;

 protected:
  bool OnInitDialog() override {
    log.push_back("init");
    return true;
  }
};

// The runner of the dialog tests below, with the templates of their dialogs: 500 (SampleDlg),
// 700 (ListDlg), 800 (EditorLikeDlg).
class DialogFrameTest : public ::testing::Test {
 protected:
  DialogFrameTest() {
    using enum ControlKind;
    runner.UseTemplate(500, {{1}, {2}, {3}, {10, Button}, {11, Edit}});
    runner.UseTemplate(700, {{1, Button}, {30, ListView}, {31, Edit}, {1016, Static}});
    runner.UseTemplate(
        800, {{1}, {2, Button}, {30, ListView}, {31, ListView}, {40, ComboBox}, {50, Button}});
  }
  SimDialogRunner runner;
  const InstalledDialogRunner installedRunner_{runner};
};

TEST_F(DialogFrameTest, HandlersAreBoundByIdNotificationAndMessage) {
  SampleDlg dialog;
  runner.When(500, [&](SimDialogHost& host) {
    EXPECT_EQ(host.Icon(), 128);
    host.Click(10);
    host.Type(11, "42");
    host.Click(11);  // a click on the edit box has no handler
    EXPECT_EQ(host.Send(0x8114, 0, 99), 7);
    EXPECT_EQ(host.Send(0x8115), 0);  // not in the map
    EXPECT_TRUE(host.PressKey(0x100, 0x7B, 0x58, 11));
    EXPECT_FALSE(host.PressKey(0x100, 0x41, 0x1E, 11));
    host.PostToSelf(0x8114, 1, 2);
    host.Pump();
    host.Click(dialog_message::kIdCancel);  // the default Cancel ends the dialog
  });
  EXPECT_EQ(dialog.DoModal(), dialog_message::kIdCancel);
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "clicked 10", "typed 42", "message 0 99",
                                                  "message 1 2"}));
  EXPECT_FALSE(dialog.IsRunning());
}

TEST_F(DialogFrameTest, AnchoredControlsFollowTheWindowsSize) {
  // Where the template puts the controls, in a client area of 400 x 600.
  runner.Place(500, 1, {10, 10, 30, 20});
  runner.Place(500, 2, {10, 30, 110, 80});
  runner.Place(500, 3, {10, 200, 60, 220});
  SampleDlg dialog;
  runner.When(500, [&](SimDialogHost& host) {
    host.Resize(500, 650);  // 100 wider, 50 higher
    EXPECT_EQ(host.ControlRect(1), (DialogRect{110, 10, 130, 20}));
    EXPECT_EQ(host.ControlRect(2), (DialogRect{10, 30, 210, 130}));
    EXPECT_EQ(host.ControlRect(3), (DialogRect{10, 250, 110, 270}));
    host.Resize(400, 600);  // back to where they started
    EXPECT_EQ(host.ControlRect(3), (DialogRect{10, 200, 60, 220}));
    host.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(dialog.DoModal(), dialog_message::kIdOk);
}

TEST(CVXCPParser, ReadsHandlerCommandAndArguments) {
  const CVXCPParser help("vxcp:///maindlg/help_shiftmemory?");
  EXPECT_TRUE(help.IsValid());
  EXPECT_EQ(help.GetHandler(), "maindlg");
  EXPECT_EQ(help.GetCommand(), "help_shiftmemory");
  EXPECT_EQ(help.GetArguments(), "");
  const CVXCPParser withArguments("VXCP:///About/open?page=2&x=1");
  EXPECT_EQ(withArguments.GetCommand(), "open");
  EXPECT_EQ(withArguments.GetArguments(), "page=2&x=1");
  for (const char* bad : {"http://example.com/a/b", "vxcp:///", "vxcp:///handler", "vxcp:////cmd",
                          "vxcp:///handler/?x", ""}) {
    EXPECT_FALSE(CVXCPParser(bad).IsValid()) << bad;
  }

  struct Handler : CVXCPCommandHandler {
    std::vector<std::string> commands;
    void OnVXCPCommand(const std::string& command, const std::string& arguments) override {
      commands.push_back(command + "?" + arguments);
    }
  } handler;
  handler.SetHandlerName("MainDlg");
  EXPECT_TRUE(handler.PostExecute(help));  // names compare without regard to case
  EXPECT_FALSE(handler.PostExecute(withArguments));
  EXPECT_EQ(handler.commands, std::vector<std::string>{"help_shiftmemory?"});
}

class UtilityLibTest : public ::testing::Test {
 protected:
  FakeServices services_;
  const InstalledServices installedServices_{services_};
};

TEST_F(UtilityLibTest, RegistryNumbersAndTexts) {
  const auto root = RegistryRoot::CurrentUser;
  EXPECT_EQ(CUtilityLib::ReadRegistry(root, "K", "missing", 5), 5);
  CUtilityLib::WriteRegistry(root, "K", "number", std::uint32_t{42});
  CUtilityLib::WriteRegistry(root, "K", "text", "17");
  CUtilityLib::WriteRegistry(root, "K", "word", "abc");
  EXPECT_EQ(CUtilityLib::ReadRegistry(root, "K", "number", 5), 42);
  EXPECT_EQ(CUtilityLib::ReadRegistry(root, "K", "text", 5), 17);  // decimal text reads as a number
  EXPECT_EQ(CUtilityLib::ReadRegistry(root, "K", "word", 5), 0);
  EXPECT_EQ(CUtilityLib::ReadRegistryText(root, "K", "number", 260), "42");
  EXPECT_EQ(CUtilityLib::ReadRegistryText(root, "K", "word", 3), "ab");
  EXPECT_TRUE(CUtilityLib::DeleteRegistryValue(root, "K", "word"));
  EXPECT_EQ(CUtilityLib::ReadRegistryText(root, "K", "word", 260), "");
  EXPECT_EQ(CUtilityLib::GetString(-12), "-12");
}

TEST_F(UtilityLibTest, PathsAndFolders) {
  CUtilityLib::SetAppDataSubPath("tastron");
  EXPECT_EQ(CUtilityLib::GetAppDataPath(false), "C:\\Users\\tester\\AppData\\Roaming\\tastron");
  EXPECT_FALSE(services_.FolderExists("C:\\Users\\tester\\AppData\\Roaming\\tastron"));
  CUtilityLib::GetAppDataPath(true);
  EXPECT_TRUE(services_.FolderExists("C:\\Users\\tester\\AppData\\Roaming\\tastron"));
  EXPECT_TRUE(CUtilityLib::CreateMultiFolder("C:\\a\\b\\c\\", 1));
  EXPECT_TRUE(services_.FolderExists("C:\\a\\b\\c"));
  EXPECT_FALSE(CUtilityLib::CreateMultiFolder("C:\\x\\y", 0));  // one level only
  EXPECT_EQ(CUtilityLib::GetAppPath(), "C:\\Program Files\\Tastron");
  EXPECT_EQ(CUtilityLib::GetFileExt("C:\\a.b\\settings.cfg"), "cfg");
  EXPECT_EQ(CUtilityLib::GetFileExt("C:\\a.b\\settings"), "");
}

TEST_F(UtilityLibTest, ProfileSectionsAsParallelListsAndSplitting) {
  CUtilityLib::CreateMultiFolder("C:\\data", 1);
  const std::string file = "C:\\data\\rules.ini";
  CUtilityLib::WritePrivateProfileStringA("KeyChange", "14/3a", "a2/1d", file);
  CUtilityLib::WritePrivateProfileInt("KeyChange", "41/1e", 7, file);
  std::vector<std::string> keys, values;
  CUtilityLib::GetPrivateProfileSectionA("KeyChange", keys, values, file);
  EXPECT_EQ(keys, (std::vector<std::string>{"14/3a", "41/1e"}));
  EXPECT_EQ(values, (std::vector<std::string>{"a2/1d", "7"}));
  EXPECT_EQ(CUtilityLib::GetPrivateProfileIntA("KeyChange", "41/1e", 0, file), 7);

  std::vector<std::string> fields;
  CUtilityLib::SplitStringByToken("a/ b //c/", '/', fields, true, true);
  EXPECT_EQ(fields, (std::vector<std::string>{"a", "b", "", "c", ""}));
  CUtilityLib::SplitStringByToken("a/ b //c/", '/', fields, false, false);
  EXPECT_EQ(fields, (std::vector<std::string>{"a", " b ", "c"}));
}

// A whole section however long; a section beyond the largest buffer is nullopt for whoever must
// not take it cut (an import), where the plain read hands back the part that fitted.
TEST_F(UtilityLibTest, ASectionBeyondTheLargestBufferIsNotTakenAsComplete) {
  CUtilityLib::CreateMultiFolder("C:\\data", 1);
  const std::string file = "C:\\data\\many.cfg";
  std::vector<std::string> lines;
  for (int i = 0; i < 2000; ++i) lines.push_back("k" + std::to_string(i) + "=" + std::to_string(i));
  ASSERT_TRUE(services_.Profiles().ReplaceSections(file, {{"KeyChange", lines}}));
  EXPECT_EQ(CUtilityLib::GetWholeProfileSection("KeyChange", file), lines);  // ~19 000 bytes
  EXPECT_EQ(CUtilityLib::GetCompleteProfileSection("KeyChange", file), lines);
  EXPECT_EQ(CUtilityLib::GetCompleteProfileSection("KeyChange", file, 16384), std::nullopt);
}

}  // namespace

namespace {

TEST_F(UtilityLibTest, TheTrayIconShowsHidesAndAnimates) {
  CPLTrayIconWnd tray;
  EXPECT_FALSE(tray.ShowIcon(0, "Tastron"));  // no window yet
  CUtilityLib::CreateMultiFolder("C:\\Program Files\\Tastron", 1);
  std::ofstream(services_.HostPath("C:\\Program Files\\Tastron\\TrayIcon.Ico")) << "icon";
  const IconHandle icon = tray.LoadIconA("C:\\Program Files\\Tastron\\TrayIcon.Ico");
  EXPECT_NE(icon, 0u);
  EXPECT_EQ(tray.LoadIconA("C:\\nowhere.ico"), 0u);

  ASSERT_TRUE(tray.Create(0x4242));
  EXPECT_EQ(services_.TrayIcon().owner, 0x4242u);
  EXPECT_EQ(services_.TrayIcon().activateMessage, 0x8114u);
  tray.SetAnimate({icon}, 100000);
  EXPECT_EQ(services_.TrayIcon().periodMs, 100000u);
  EXPECT_TRUE(tray.ShowIcon(0, "Tastron"));
  EXPECT_TRUE(tray.IsIconShown());
  EXPECT_EQ(services_.TrayIcon().icon, icon);
  EXPECT_EQ(services_.TrayIcon().tooltip, "Tastron");
  tray.HideIcon();
  EXPECT_FALSE(services_.TrayIcon().shown);
  EXPECT_TRUE(tray.ShowIcon(5, "Tastron"));  // an index beyond the list shows no picture
  EXPECT_EQ(services_.TrayIcon().icon, 0u);
}

TEST_F(UtilityLibTest, ChoosersAndWindowCalls) {
  std::string path = "unchanged";
  services_.AnswerNextChooser(std::nullopt);
  EXPECT_FALSE(CUtilityLib::SelectFile(path, "열기", "설정 파일 (*.cfg)|*.cfg||", 0));
  EXPECT_EQ(path, "unchanged");
  services_.AnswerNextChooser("C:\\tastron.cfg");
  EXPECT_TRUE(CUtilityLib::SelectSaveFile(path, "저장", "설정 파일 (*.cfg)|*.cfg||", 0));
  EXPECT_EQ(path, "C:\\tastron.cfg");
  services_.AnswerNextChooser("C:\\Games");
  EXPECT_TRUE(CUtilityLib::SelectFolder(path, "폴더", 0));
  EXPECT_EQ(path, "C:\\Games");
  services_.SetTopLevelWindow(0x20, 0x10);
  EXPECT_EQ(CUtilityLib::GetTopWindow(0x20), 0x10u);
  CUtilityLib::MSGSetForegroundWindow(0x10);
  CUtilityLib::AniMinimizeToTray(0x10);
  CUtilityLib::AniMaximiseFromTray(0x10);
  EXPECT_EQ(
      services_.WindowCalls(),
      (std::vector<std::string>{"chooser open 열기", "chooser save 저장", "chooser folder 폴더",
                                "foreground 16", "animate into 16", "animate out 16"}));
}

// Each installation lasts as long as its object and then puts back the one before it; after the
// last, dialogs and the utility library find nothing instead of services or a runner that went.
TEST(Installations, LastAsLongAsTheirObjectsAndPutBackTheOnesBefore) {
  {
    FakeServices outerServices;
    SimDialogRunner outerRunner;
    const InstalledServices outerServicesInstalled(outerServices);
    const InstalledDialogRunner outerRunnerInstalled(outerRunner);
    {
      FakeServices innerServices;
      SimDialogRunner innerRunner;
      const InstalledServices innerServicesInstalled(innerServices);
      const InstalledDialogRunner innerRunnerInstalled(innerRunner);
      EXPECT_EQ(&CUtilityLib::Get(), &innerServices);
      EXPECT_EQ(&DialogRunner::Current(), &innerRunner);
    }
    EXPECT_EQ(&CUtilityLib::Get(), &outerServices);
    EXPECT_EQ(&DialogRunner::Current(), &outerRunner);
  }
  EXPECT_THROW(CUtilityLib::Get(), std::logic_error);
  EXPECT_THROW(DialogRunner::Current(), std::logic_error);
  CAboutDlg about("1.0");
  EXPECT_THROW(about.DoModal(), std::logic_error);
}

}  // namespace

namespace {

TEST(PathText, ShortensInTheMiddleKeepingFrontAndFileName) {
  const std::string path = "C:\\Program Files\\Some Vendor\\Deep\\Deeper\\tool.exe";
  EXPECT_EQ(ShortenPath(path, 200), path);
  EXPECT_EQ(ShortenPath(path, 41), "C:\\Program Files\\...\\Deep\\Deeper\\tool.exe");
  EXPECT_EQ(ShortenPath(path, 40), "C:\\Program Files\\...\\Deeper\\tool.exe");
  EXPECT_EQ(ShortenPath(path, 30), "C:\\Program Files\\...\\tool.exe");
  EXPECT_LE(ShortenPath(path, 20).size(), 20u);
  EXPECT_TRUE(ShortenPath(path, 20).ends_with("tool.exe"));
  EXPECT_EQ(ShortenPath("averyveryverylongfilenamewithoutfolders.exe", 12), "...lders.exe");
}

// A Korean syllable is one character of three bytes: lengths count characters, and the end of
// a long name is kept from a character's start, never from inside one.
TEST(PathText, CountsAndCutsKoreanPathsByCharacters) {
  std::string name;
  for (int i = 0; i < 30; ++i) name += "가";
  const std::string path = "C:\\도구\\" + name + ".exe";
  EXPECT_EQ(ShortenPath(path, 40), path);  // 40 characters, 98 bytes
  std::string end;
  for (int i = 0; i < 13; ++i) end += "가";
  EXPECT_EQ(ShortenPath(path, 20), "..." + end + ".exe");
  EXPECT_EQ(ShortenPath("C:\\사용자\\문서\\폴더\\도구.exe", 18), "C:\\사용자\\...\\도구.exe");
}

class ListDlg : public CResizeDlg {
 public:
  ListDlg() : CResizeDlg(700, 0) {
    OnCommand(1, [this] {
      list.Attach(Host(), 30);
      list.InsertColumn("키", 80);
      list.InsertColumn("프로그램", 200);
      list.SetPathColumn(1);
      for (int i = 0; i < 3; ++i) {
        const int row = list.InsertItem(i, "F" + std::to_string(i + 1));
        list.SetItemText(row, 1,
                         "C:\\Program Files\\Some Vendor\\Deep\\Deeper\\Deepest\\tool" +
                             std::to_string(i) + ".exe");
        list.SetItemData(row, 100 + i);
      }
      path.Attach(Host(), 31);
      path.SetWindowTextA(std::string("C:\\") + std::string(100, 'x') + "\\file.cfg");
      banner.Create(Host(), 1016);
      Host().End(1);
    });
  }
  CStyledListCtrl list;
  CPathEdit path;
  CAPPMainAdCtrl banner;
};

TEST_F(DialogFrameTest, RowsCarryDataAndPathsShowShortened) {
  ListDlg dialog;
  runner.When(700, [&](SimDialogHost& host) {
    host.Click(1);
    EXPECT_EQ(dialog.list.GetItemCount(), 3);
    EXPECT_EQ(dialog.list.GetSelectedDBIndex(), -1);
    host.ListSelectRow(30, 2);
    EXPECT_EQ(dialog.list.GetSelectedIndex(), 2);
    EXPECT_EQ(dialog.list.GetSelectedDBIndex(), 102);
    dialog.list.DeleteItem(0);
    EXPECT_EQ(dialog.list.GetSelectedDBIndex(), 102);  // the selection moves with its row
    EXPECT_EQ(dialog.list.GetItemText(0, 0), "F2");
    EXPECT_LE(dialog.list.GetItemText(0, 1).size(), CStyledListCtrl::kPathColumnLength);
    EXPECT_TRUE(dialog.list.GetItemText(0, 1).ends_with("tool1.exe"));
    dialog.list.AdjustColumnWidth(0);
    EXPECT_GT(host.ListColumns(30)[0].second, 0);
    EXPECT_LE(host.Text(31).size(), CPathEdit::kShownLength);
    EXPECT_EQ(dialog.path.GetWindowTextA().size(), 3 + 100 + 9u);  // the whole path comes back
  });
  dialog.DoModal();
}

}  // namespace

namespace {

// Rules set while the dialog initialises, as the editors set them, and a list and a drop-down
// list whose notifications the map takes.
class EditorLikeDlg : public CResizeDlg {
 public:
  EditorLikeDlg() : CResizeDlg(800, 0) {
    OnControlNotify(30, control_notification::kDoubleClick, [this](const ControlNotification&) {
      log.push_back("double click");
      return 0;
    });
    OnControlNotify(30, control_notification::kListKeyDown, [this](const ControlNotification& n) {
      log.push_back("key " + std::to_string(n.virtualKey));
      return 1;
    });
    OnNotify(40, dialog_message::kComboSelectionChanged, [this] {
      log.push_back("picked " + Host().ComboItem(40, Host().ComboSelection(40)));
    });
    OnCommand(50, [this] { inner.DoModal(); });
  }
  std::vector<std::string> log;
  CAboutDlg inner{"1.0"};

 protected:
  bool OnInitDialog() override {
    SizeXYRate(1, 100, 100);
    MoveXYRate(2, 100, 100);
    Host().ComboAddItem(40, "메모장");
    Host().ComboAddItem(40, "계산기");
    return true;
  }
};

TEST_F(DialogFrameTest, RulesSetDuringInitialisationKeepTheControlsPlaces) {
  runner.Place(800, 1, {10, 10, 110, 60});
  runner.Place(800, 2, {300, 560, 350, 580});
  EditorLikeDlg dialog;
  runner.When(800, [&](SimDialogHost& host) {
    host.Resize(400, 600);  // the size it has: nothing moves
    EXPECT_EQ(host.ControlRect(1), (DialogRect{10, 10, 110, 60}));
    EXPECT_EQ(host.ControlRect(2), (DialogRect{300, 560, 350, 580}));
    host.Resize(450, 620);
    EXPECT_EQ(host.ControlRect(1), (DialogRect{10, 10, 160, 80}));
    EXPECT_EQ(host.ControlRect(2), (DialogRect{350, 580, 400, 600}));
    host.Click(2);
  });
  dialog.DoModal();
}

TEST_F(DialogFrameTest, ListAndDropDownNotificationsReachTheMessageMap) {
  EditorLikeDlg dialog;
  runner.When(800, [&](SimDialogHost& host) {
    EXPECT_EQ(host.Notify(30, control_notification::kDoubleClick), 0);
    EXPECT_EQ(host.Notify(30, control_notification::kListKeyDown, 0x2E), 1);
    EXPECT_EQ(host.Notify(31, control_notification::kDoubleClick), 0);  // not in the map
    EXPECT_EQ(host.ComboItemCount(40), 2);
    EXPECT_EQ(host.ComboSelection(40), -1);
    host.PickComboItem(40, 1);
    host.ComboSelect(40, 0);  // the program's own choice notifies nothing
    EXPECT_EQ(host.ComboSelection(40), 0);
    host.ComboClear(40);
    EXPECT_EQ(host.ComboItemCount(40), 0);
    host.Click(2);
  });
  dialog.DoModal();
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"double click", "key 46", "picked 계산기"}));
}

TEST_F(DialogFrameTest, ListsSelectSeveralRowsThatFollowInsertionsAndDeletions) {
  ListDlg dialog;
  runner.When(700, [&](SimDialogHost& host) {
    host.Click(1);
    dialog.list.InsertItem(3, "F4");
    host.SelectRows(30, {0, 2, 3});
    dialog.list.InsertItem(0, "F0");  // rows 1, 3 and 4 now
    std::vector<int> selected;
    for (int row = -1; (row = dialog.list.GetNextSelectedIndex(row)) >= 0;) selected.push_back(row);
    EXPECT_EQ(selected, (std::vector<int>{1, 3, 4}));
    dialog.list.DeleteItem(3);
    EXPECT_EQ(dialog.list.GetSelectedIndex(), 1);
    EXPECT_EQ(dialog.list.GetNextSelectedIndex(1), 3);
    EXPECT_EQ(dialog.list.GetNextSelectedIndex(3), -1);
  });
  dialog.DoModal();
}

TEST_F(DialogFrameTest, APathEditHandsBackWhatTheUserTyped) {
  ListDlg dialog;
  runner.When(700, [&](SimDialogHost& host) {
    host.Click(1);
    const std::string whole = dialog.path.GetWindowTextA();
    EXPECT_GT(whole.size(), host.Text(31).size());  // shown shortened, handed back whole
    host.Type(31, "D:\\games\\run.exe");
    EXPECT_EQ(dialog.path.GetWindowTextA(), "D:\\games\\run.exe");
    dialog.path.SetWindowTextA(whole);
    EXPECT_EQ(dialog.path.GetWindowTextA(), whole);
  });
  dialog.DoModal();
}

// A dialog made without a parent belongs to the dialog running: that one is disabled while it
// runs, so nothing behind it opens another dialog, and it is enabled again after.
TEST_F(DialogFrameTest, ADialogWithoutParentDisablesTheDialogBehindIt) {
  EditorLikeDlg dialog;
  runner.When(800, [&](SimDialogHost& outer) {
    runner.When(129, [&](SimDialogHost& about) {
      EXPECT_FALSE(outer.IsWindowEnabled());
      EXPECT_EQ(runner.InnermostWindow(), about.Window());
      outer.Click(50);  // a click on the disabled window opens nothing
      about.Click(2);
    });
    outer.Click(50);
    EXPECT_TRUE(outer.IsWindowEnabled());
    EXPECT_EQ(runner.InnermostWindow(), outer.Window());
    outer.Click(2);
  });
  dialog.DoModal();
  EXPECT_EQ(runner.Ran(), (std::vector<int>{800, 129}));
  EXPECT_EQ(runner.InnermostWindow(), 0u);
}

}  // namespace
