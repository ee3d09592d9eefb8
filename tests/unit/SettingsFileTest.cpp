#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/CVelloranApp.h"
#include "app/SettingsFile.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "tests/unit/FakeHookLibrary.h"
#include "tests/unit/TempFolder.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kConfig = "Software\\Orvanne\\Velloran\\Config";
constexpr const char* kFolder = "C:\\Users\\tester\\AppData\\Roaming\\tastron";
constexpr const char* kRuleFile = "C:\\Users\\tester\\AppData\\Roaming\\tastron\\config.ini";
constexpr const char* kSaved = "C:\\Users\\tester\\AppData\\Roaming\\tastron\\mine.cfg";
constexpr int kExport = 32772;
constexpr int kImport = 32773;

constexpr const char* kRules =
    "[Tastron]\nStartup=1\n"
    "[Hotkey]\n0/0/1/0/0/0/0/0/0/41/1e=1/c:\\tools\\a.exe/x$!y\n0/0/0/0/0/1/0/0/0/42/30=2\n"
    "[KeyChange]\n14/3a=11/1d\n"
    "[MouseMap2]\nKeyState=1/0/0/0/0/0\nMapped=0/43/2e/1/0/0/0/0/0/0/0\n";

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeHookLibrary::Reset();
    services_.AddModule("trellin_192.dll", FakeHookLibrary::Exports());
    CUtilityLib::CreateMultiFolder(kFolder, 1);
    TempFolder::Write(Host(kRuleFile), kRules);
  }
  void Run(const std::function<void(SimDialogHost&)>& user) {
    runner_.When(102, [&](SimDialogHost& window) {
      user(window);
      services_.AnswerNextMessageBox(message_box::kIdYes);
      window.Click(1012);
    });
    CVelloranApp().Run("");
  }
  std::string Host(const std::string& path) const { return services_.HostPath(path).string(); }
  std::string Read(const std::string& path) const {
    std::string text = TempFolder::Read(Host(path));
    std::erase(text, '\r');
    return text;
  }
  std::string Option(const std::string& name) {
    return CUtilityLib::ReadRegistryText(RegistryRoot::CurrentUser, kConfig, name, 260);
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& shown : services_.MessageBoxes()) texts.push_back(shown.text);
    return texts;
  }

  FakeServices services_;
  const InstalledServices installedServices_{services_};
  SimDialogRunner runner_;
  const InstalledDialogRunner installedRunner_{runner_};
};

TEST_F(SettingsFileTest, ExportWritesEveryOptionInOrderThenTheRuleSections) {
  Run([&](SimDialogHost& window) {
    window.Click(1006);  // Lock_Win on: 1062 stays checked, only disabled
    window.Click(1023);
    window.Type(1022, "");
    window.Type(1026, "12000");
    services_.AnswerNextChooser(std::string(kFolder) + "\\mine");
    window.ChooseMenuItem(kExport);
  });
  EXPECT_EQ(Read(kSaved),
            "[KeyState]\nLockMonitor=1\nLockWorkStation=0\nInactiveMouse=0\nShiftSpace=1\n"
            "CtrlSpace=1\nCapsLock=1\nInsert=1\nWin=1\nNumLock=1\nRCtrl=1\nHotkey=0\n"
            "MiddleMouse=0\nShiftMemory=1\nAltWheel=0\nShiftWheel=1\nRButtonWheel=0\n"
            "LButtonWheel=0\nShiftWheelDelta=\nCtrlWheel=1\nCtrlWheelUnit=12000\n"
            "[Hotkey]\n0/0/1/0/0/0/0/0/0/41/1e=1/c:\\tools\\a.exe/x$!y\n0/0/0/0/0/1/0/0/0/42/30=2\n"
            "[KeyChange]\n14/3a=11/1d\n"
            "[MouseMap2]\nKeyState=1/0/0/0/0/0\nMapped=0/43/2e/1/0/0/0/0/0/0/0\n");
  EXPECT_TRUE(services_.LastMessageBox().text.starts_with("종료"));  // nothing else shown
  EXPECT_EQ(services_.WindowCalls().front(), "chooser save 설정 저장");
}

TEST_F(SettingsFileTest, TheExtensionIsAddedUnlessTheNameHasItInAnyCase) {
  Run([&](SimDialogHost& window) {
    for (const char* name : {"upper.CFG", "notes.txt"}) {
      services_.AnswerNextChooser(std::string(kFolder) + "\\" + name);
      window.ChooseMenuItem(kExport);
    }
  });
  EXPECT_TRUE(services_.FileExists(std::string(kFolder) + "\\upper.CFG"));
  EXPECT_TRUE(services_.FileExists(std::string(kFolder) + "\\notes.txt.cfg"));
  EXPECT_FALSE(services_.FileExists(std::string(kFolder) + "\\notes.txt"));
}

TEST_F(SettingsFileTest, AnExistingFileIsReplacedWholeOnlyWhenTheUserSaysYes) {
  TempFolder::Write(Host(kSaved), "[Old]\nkeep=me\n");
  Run([&](SimDialogHost& window) {
    services_.AnswerNextChooser(std::string(kSaved));
    services_.AnswerNextMessageBox(message_box::kIdNo);
    window.ChooseMenuItem(kExport);
    EXPECT_EQ(Read(kSaved), "[Old]\nkeep=me\n");
    const auto& question = services_.LastMessageBox();
    EXPECT_EQ(question.text, "이미 파일이 존재합니다.\n\n파일을 덮어 쓰겠습니까?");
    EXPECT_EQ(question.caption, "설정 저장");
    EXPECT_EQ(question.type, message_box::kYesNo | message_box::kIconQuestion);
    services_.AnswerNextChooser(std::string(kSaved));
    services_.AnswerNextMessageBox(message_box::kIdYes);
    window.ChooseMenuItem(kExport);
  });
  const std::string saved = Read(kSaved);
  EXPECT_EQ(saved.find("[Old]"), std::string::npos);
  EXPECT_TRUE(saved.starts_with("[KeyState]\nLockMonitor=1\n"));
}

TEST_F(SettingsFileTest, AFailedExportSaysSo) {
  services_.FailWritesTo(kSaved, 3);
  Run([&](SimDialogHost& window) {
    services_.AnswerNextChooser(std::string(kSaved));
    services_.AnswerNextMessageBox(message_box::kIdOk);
    window.ChooseMenuItem(kExport);
    const auto& shown = services_.LastMessageBox();
    EXPECT_TRUE(shown.text.starts_with("설정 파일을 저장하지 못했습니다.")) << shown.text;
    EXPECT_TRUE(shown.text.ends_with("mine.cfg"));
  });
}

TEST_F(SettingsFileTest, ExportChangeImportBringsBackTheOptionsAndRulesButNotTheLocalOnes) {
  Run([&](SimDialogHost& window) {
    window.Click(1029);  // MiddleMouse on
    window.Click(1063);  // AltWheel on
    window.Type(1022, "9");
    services_.AnswerNextChooser(std::string(kSaved));
    window.ChooseMenuItem(kExport);
    // Everything changes afterwards: options, the local ones, and the rules.
    window.Click(1029);
    window.Click(1063);
    window.Click(1003);
    window.Click(1006);
    window.Type(1022, "3");
    window.Type(1026, "100");
    window.Click(1019);  // Key_KeyChange: this computer's own
    window.Click(1002);  // Hide_TrayIcon: this computer's own
    services_.Profiles().WriteString(kRuleFile, "Hotkey", "0/0/0/0/0/0/0/0/0/43/2e", "2");
    services_.Profiles().DeleteSection(kRuleFile, "MouseMap2");
    services_.Profiles().WriteString(kRuleFile, "KeyChange", "3a/3a", "1d/1d");
    services_.Profiles().WriteString(kRuleFile, "Other", "x", "1");
    FakeHookLibrary::pushed.clear();
    services_.AnswerNextChooser(std::string(kSaved));
    window.ChooseMenuItem(kImport);
    // The window shows the imported options and the library has them.
    EXPECT_TRUE(window.IsChecked(1029));
    EXPECT_TRUE(window.IsChecked(1063));
    EXPECT_TRUE(window.IsChecked(1003));
    EXPECT_FALSE(window.IsChecked(1006));
    EXPECT_TRUE(window.IsEnabled(1062));
    EXPECT_EQ(window.Text(1022), "9");
    EXPECT_EQ(window.Text(1026), "5000");
    EXPECT_TRUE(window.IsChecked(1019));
    EXPECT_TRUE(window.IsChecked(1002));
    ASSERT_FALSE(FakeHookLibrary::pushed.empty());
    EXPECT_EQ(FakeHookLibrary::pushed.back().Key_MouseMiddleButton, 1);
    EXPECT_EQ(FakeHookLibrary::pushed.back().ShiftWheelDelta, 9);
    EXPECT_EQ(FakeHookLibrary::pushed.back().CtrlWheelUnit, 5000);
  });
  EXPECT_EQ(Option("Key_MouseMiddleButton"), "1");
  EXPECT_EQ(Option("Lock_CapsLock"), "1");
  EXPECT_EQ(Option("Lock_Win"), "0");
  EXPECT_EQ(Option("Key_KeyChange"), "1");
  EXPECT_EQ(Option("Hide_TrayIcon"), "1");
  // The rule sections are the saved ones again, each where it stood (a section gone since at
  // the end); the other sections are untouched.
  EXPECT_EQ(Read(kRuleFile),
            "[Tastron]\nStartup=1\n"
            "[Hotkey]\n0/0/1/0/0/0/0/0/0/41/1e=1/c:\\tools\\a.exe/x$!y\n"
            "0/0/0/0/0/1/0/0/0/42/30=2\n"
            "[KeyChange]\n14/3a=11/1d\n"
            "[Other]\nx=1\n"
            "[MouseMap2]\nKeyState=1/0/0/0/0/0\nMapped=0/43/2e/1/0/0/0/0/0/0/0\n");
  EXPECT_FALSE(services_.FileExists(std::string(kRuleFile) + ".import"));
}

// A program's own rules travel with the rest, empty values (its exceptions) included, tap-hold
// rules among them, and an import leaves exactly the settings file's programs behind.
TEST_F(SettingsFileTest, EachProgramsSectionsAreExportedAfterTheFourAndImportReplacesThem) {
  TempFolder::Write(Host(kRuleFile), std::string(kRules) +
                                         "[TapHold]\n14/3a=15/f2/a2/1d/200\n"
                                         "[KeyChange:notepad.exe]\n14/3a=a2/1d\n41/1e=\n"
                                         "[Other:game.exe]\nx=1\n"
                                         "[TapHold:notepad.exe]\n1d/1d=\n"
                                         "[Hotkey:excel.exe]\n0/0/0/0/0/0/0/0/0/78/43=\n");
  Run([&](SimDialogHost& window) {
    services_.AnswerNextChooser(std::string(kSaved));
    window.ChooseMenuItem(kExport);
    // Since then: a program gained rules, another lost its own.
    services_.Profiles().WriteString(kRuleFile, "MouseMap2:paint.exe", "Mapped", "");
    services_.Profiles().DeleteSection(kRuleFile, "KeyChange:notepad.exe");
    services_.Profiles().DeleteSection(kRuleFile, "TapHold:notepad.exe");
    services_.Profiles().WriteString(kRuleFile, "TapHold", "14/3a", "15/f2/a2/1d/900");
    services_.Profiles().WriteString(kRuleFile, "hotkey:EXCEL.exe", "0/0/0/0/0/0/0/0/0/41/1e", "2");
    services_.AnswerNextChooser(std::string(kSaved));
    window.ChooseMenuItem(kImport);
  });
  const std::string saved = Read(kSaved);
  EXPECT_NE(saved.find("[KeyChange]\n14/3a=11/1d\n[TapHold]\n14/3a=15/f2/a2/1d/200\n"
                       "[MouseMap2]\nKeyState=1/0/0/0/0/0\nMapped=0/43/2e/1/0/0/0/0/0/0/0\n"
                       "[KeyChange:notepad.exe]\n14/3a=a2/1d\n41/1e=\n"
                       "[TapHold:notepad.exe]\n1d/1d=\n"
                       "[Hotkey:excel.exe]\n0/0/0/0/0/0/0/0/0/78/43=\n"),
            std::string::npos)
      << saved;
  EXPECT_EQ(saved.find("game.exe"), std::string::npos);
  EXPECT_EQ(Read(kRuleFile),
            "[Tastron]\nStartup=1\n"
            "[Hotkey]\n0/0/1/0/0/0/0/0/0/41/1e=1/c:\\tools\\a.exe/x$!y\n"
            "0/0/0/0/0/1/0/0/0/42/30=2\n"
            "[KeyChange]\n14/3a=11/1d\n"
            "[MouseMap2]\nKeyState=1/0/0/0/0/0\nMapped=0/43/2e/1/0/0/0/0/0/0/0\n"
            "[TapHold]\n14/3a=15/f2/a2/1d/200\n"
            "[Other:game.exe]\nx=1\n"
            "[Hotkey:excel.exe]\n0/0/0/0/0/0/0/0/0/78/43=\n"
            "[KeyChange:notepad.exe]\n14/3a=a2/1d\n41/1e=\n"
            "[TapHold:notepad.exe]\n1d/1d=\n");
}

// A settings file without program sections, over a rule file with some: the user decides
// whether they stay; Cancel imports nothing at all.
TEST_F(SettingsFileTest, AFileWithoutProgramRulesAsksWhetherToKeepThem) {
  const std::string programs =
      "[KeyChange:notepad.exe]\n14/3a=a2/1d\n[MouseMap2:paint.exe]\nMapped=\n";
  const std::string before = std::string(kRules) + programs;
  const std::string imported = "[Tastron]\nStartup=1\n[Hotkey]\n0/0/0/0/0/0/0/0/0/44/20=2\n";
  const struct {
    int answer;
    std::string rules;
    const char* lockWin;
  } rows[] = {
      {message_box::kIdYes, imported + programs, "1"},
      {message_box::kIdNo, imported, "1"},
      {message_box::kIdCancel, before, "0"},
  };
  for (const auto& row : rows) {
    TempFolder::Write(Host(kRuleFile), before);
    TempFolder::Write(Host(kSaved), "[KeyState]\nWin=1\n[Hotkey]\n0/0/0/0/0/0/0/0/0/44/20=2\n");
    services_.WriteRegistry(RegistryRoot::CurrentUser, kConfig, "Lock_Win", std::string("0"));
    Run([&](SimDialogHost& window) {
      services_.AnswerNextChooser(std::string(kSaved));
      services_.AnswerNextMessageBox(row.answer);
      window.ChooseMenuItem(kImport);
      EXPECT_EQ(
          services_.LastMessageBox().text,
          "이 설정 파일에는 프로그램별 규칙이 없습니다.\n\n지금 있는 프로그램별 규칙을 그대로 "
          "두겠습니까?\n\n[예]: 그대로 둡니다.\n[아니요]: 프로그램별 규칙을 모두 "
          "지웁니다.\n[취소]: 불러오지 않습니다.");
      EXPECT_EQ(services_.LastMessageBox().type, 0x23u);  // Yes, No, Cancel; Yes the default
    });
    EXPECT_EQ(Read(kRuleFile), row.rules) << row.answer;
    EXPECT_EQ(Option("Lock_Win"), row.lockWin) << row.answer;
  }
}

TEST_F(SettingsFileTest, MissingKeysImportAsDefaultsAndMissingSectionsAsEmpty) {
  TempFolder::Write(Host(kSaved), "[KeyState]\nWin=1\n[Hotkey]\n0/0/0/0/0/0/0/0/0/44/20=2\n");
  Run([&](SimDialogHost& window) {
    services_.AnswerNextChooser(std::string(kSaved));
    window.ChooseMenuItem(kImport);
    EXPECT_TRUE(window.IsChecked(1006));
    EXPECT_FALSE(window.IsEnabled(1062));
    EXPECT_FALSE(window.IsEnabled(1066));
    EXPECT_FALSE(window.IsEnabled(1067));
    EXPECT_FALSE(window.IsChecked(1003));
    EXPECT_FALSE(window.IsChecked(1060));
    EXPECT_FALSE(window.IsEnabled(1026));
    EXPECT_EQ(window.Text(1022), "5");
    EXPECT_EQ(window.Text(1026), "5000");
  });
  EXPECT_EQ(Option("Lock_Win"), "1");
  EXPECT_EQ(Option("Lock_Monitor"), "0");
  EXPECT_EQ(Read(kRuleFile), "[Tastron]\nStartup=1\n[Hotkey]\n0/0/0/0/0/0/0/0/0/44/20=2\n");
}

TEST_F(SettingsFileTest, AFileThatIsNoSettingsFileIsRefusedAndChangesNothing) {
  TempFolder::Write(Host(kSaved), "[Hotkey]\n0/0/0/0/0/0/0/0/0/44/20=2\n");
  Run([&](SimDialogHost& window) {
    window.Click(1006);
    FakeHookLibrary::pushed.clear();
    services_.AnswerNextChooser(std::string(kSaved));
    services_.AnswerNextMessageBox(message_box::kIdOk);
    window.ChooseMenuItem(kImport);
    EXPECT_TRUE(window.IsChecked(1006));
    EXPECT_TRUE(window.IsChecked(1003));
    EXPECT_TRUE(FakeHookLibrary::pushed.empty());
    const auto& shown = services_.LastMessageBox();
    EXPECT_TRUE(shown.text.starts_with("설정 파일이 아닙니다")) << shown.text;
    EXPECT_EQ(shown.type, message_box::kOk | message_box::kIconExclamation);
  });
  EXPECT_EQ(Option("Lock_Win"), "1");
  EXPECT_EQ(Option("Lock_CapsLock"), "");
  EXPECT_EQ(Read(kRuleFile), kRules);
}

// A full disk, or a rule file made read-only: the rule file keeps every old rule, the options
// stay, nothing is left behind, and once the file is writable again the same import works.
TEST_F(SettingsFileTest, AnImportThatCannotWriteTheRulesKeepsTheOldRulesAndOptions) {
  TempFolder::Write(Host(kSaved),
                    "[KeyState]\nWin=1\n[KeyChange]\n1/1=2/2\n3/3=4/4\n"
                    "[Hotkey]\n0/0/0/0/0/0/0/0/0/44/20=2\n");
  const auto failingImport = [&] {
    Run([&](SimDialogHost& window) {
      services_.AnswerNextChooser(std::string(kSaved));
      services_.AnswerNextMessageBox(message_box::kIdOk);
      window.ChooseMenuItem(kImport);
      EXPECT_FALSE(window.IsChecked(1006));
      EXPECT_EQ(services_.LastMessageBox().text,
                std::string(settings_file::kRuleFileNotReplaced) + kRuleFile);
    });
    EXPECT_EQ(Read(kRuleFile), kRules);
    EXPECT_EQ(Option("Lock_Win"), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Host(kFolder)),
                            std::filesystem::directory_iterator()),
              2);  // the rule file and the settings file: no copy, no half-written file
  };
  services_.FailWritesTo(kRuleFile, 0);
  failingImport();
  services_.FailWritesTo("", 0);
  std::filesystem::permissions(Host(kRuleFile), std::filesystem::perms::owner_read);
  failingImport();
  std::filesystem::permissions(Host(kRuleFile), std::filesystem::perms::owner_all);
  Run([&](SimDialogHost& window) {
    services_.AnswerNextChooser(std::string(kSaved));
    window.ChooseMenuItem(kImport);
    EXPECT_TRUE(window.IsChecked(1006));
  });
  EXPECT_EQ(Option("Lock_Win"), "1");
  EXPECT_EQ(Read(kRuleFile),
            "[Tastron]\nStartup=1\n[Hotkey]\n0/0/0/0/0/0/0/0/0/44/20=2\n"
            "[KeyChange]\n1/1=2/2\n3/3=4/4\n");
}

// Of two lines with one key the library reads the first, so the import takes the first.
TEST_F(SettingsFileTest, AKeyTwiceInASettingsFileImportsItsFirstLine) {
  TempFolder::Write(Host(kSaved),
                    "[KeyState]\nWin=1\n[KeyChange]\n41/1e=42/30\n41/1E=43/2e\n3/3=4/4\n");
  Run([&](SimDialogHost& window) {
    services_.AnswerNextChooser(std::string(kSaved));
    window.ChooseMenuItem(kImport);
  });
  EXPECT_EQ(Read(kRuleFile), "[Tastron]\nStartup=1\n[KeyChange]\n41/1e=42/30\n3/3=4/4\n");
}

// The rules were replaced, then the registry refuses an option: both go back to what they were.
TEST_F(SettingsFileTest, AnImportWhoseOptionsCannotBeWrittenPutsTheOldOptionsAndRulesBack) {
  TempFolder::Write(Host(kSaved), "[KeyState]\nWin=1\nCapsLock=1\n[KeyChange]\n1/1=2/2\n");
  Run([&](SimDialogHost& window) {
    window.Click(1003);  // Lock_CapsLock off
    services_.FailRegistryWrites(5);
    services_.AnswerNextChooser(std::string(kSaved));
    services_.AnswerNextMessageBox(message_box::kIdOk);
    window.ChooseMenuItem(kImport);
    services_.FailRegistryWrites(-1);
    EXPECT_FALSE(window.IsChecked(1003));
    EXPECT_FALSE(window.IsChecked(1006));
    EXPECT_EQ(services_.LastMessageBox().text, settings_file::kOptionsNotWritten);
  });
  EXPECT_EQ(Option("Lock_CapsLock"), "0");
  EXPECT_EQ(Option("Lock_Win"), "");
  // Every rule is back; the two sections the import had removed come back at the end.
  EXPECT_EQ(Read(kRuleFile),
            "[Tastron]\nStartup=1\n[KeyChange]\n14/3a=11/1d\n"
            "[Hotkey]\n0/0/1/0/0/0/0/0/0/41/1e=1/c:\\tools\\a.exe/x$!y\n0/0/0/0/0/1/0/0/0/42/30=2\n"
            "[MouseMap2]\nKeyState=1/0/0/0/0/0\nMapped=0/43/2e/1/0/0/0/0/0/0/0\n");
}

TEST_F(SettingsFileTest, CancelledChoosersDoNothing) {
  Run([&](SimDialogHost& window) {
    services_.AnswerNextChooser(std::nullopt);
    window.ChooseMenuItem(kExport);
    services_.AnswerNextChooser(std::nullopt);
    window.ChooseMenuItem(kImport);
  });
  EXPECT_EQ(Read(kRuleFile), kRules);
  EXPECT_EQ(services_.WindowCalls(),
            (std::vector<std::string>{"chooser save 설정 저장", "chooser open 설정 파일 선택"}));
}

}  // namespace
