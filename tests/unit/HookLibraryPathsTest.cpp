#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/CHookLibrary.h"
#include "app/CVelloranApp.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "tests/unit/FakeHookLibrary.h"
#include "ui/CUtilityLib.h"

namespace {

using CodePage = FakeServices::CodePage;

constexpr const char* kKoreanRules = "C:\\Users\\홍길동\\AppData\\Roaming\\tastron\\config.ini";
constexpr const char* kTool = "C:\\Program Files\\Tastron\\dc64.exe";

class HookLibraryPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeHookLibrary::Reset();
    fake_.AddModule("trellin_192.dll", FakeHookLibrary::Exports());
  }
  // What SetConfigINI and SetDevconPath were given.
  std::vector<std::string> HandedOver() const {
    return {FakeHookLibrary::calls.begin(), FakeHookLibrary::calls.begin() + 2};
  }

  FakeServices fake_;
  const InstalledServices installedServices_{fake_};
  CHookLibrary library_;
};

TEST_F(HookLibraryPathsTest, APathTheCodePageHoldsGoesAsItStands) {
  fake_.SetCodePage(CodePage::Korean);
  ASSERT_TRUE(library_.LoadForHost(kKoreanRules, kTool));
  EXPECT_EQ(HandedOver(), (std::vector<std::string>{std::string("SetConfigINI ") + kKoreanRules,
                                                    std::string("SetDevconPath ") + kTool}));
  EXPECT_TRUE(fake_.MessageBoxes().empty());
}

TEST_F(HookLibraryPathsTest, WhereTheCodePageLacksACharacterTheShortFormGoes) {
  fake_.SetCodePage(CodePage::Western);
  fake_.AddShortForm("C:\\Users\\홍길동", "C:\\Users\\E6D1~1");
  fake_.AddShortForm("C:\\프로그램", "C:\\9C5F~1");
  ASSERT_TRUE(library_.LoadForHost(kKoreanRules, "C:\\프로그램\\dc64.exe"));
  EXPECT_EQ(HandedOver(),
            (std::vector<std::string>{
                "SetConfigINI C:\\Users\\E6D1~1\\AppData\\Roaming\\tastron\\config.ini",
                "SetDevconPath C:\\9C5F~1\\dc64.exe"}));
  EXPECT_TRUE(fake_.MessageBoxes().empty());
}

// Without a form in the code page neither path goes: the away mode must not switch the mouse off
// when it cannot note so in the rule file. The user is told once, and the program runs on.
TEST_F(HookLibraryPathsTest, ARuleFileWithoutAnyFormIsToldAndNeitherPathGoes) {
  fake_.SetCodePage(CodePage::Western);
  fake_.AnswerNextMessageBox(message_box::kIdOk);
  ASSERT_TRUE(library_.LoadForHost(kKoreanRules, kTool));
  EXPECT_EQ(HandedOver(), (std::vector<std::string>{"SetConfigINI ", "SetDevconPath "}));
  ASSERT_EQ(fake_.MessageBoxes().size(), 1u);
  const FakeServices::ShownMessage& shown = fake_.MessageBoxes()[0];
  EXPECT_TRUE(shown.text.starts_with("규칙 파일의 경로를 trellin_192.dll이 사용할 수 없습니다."));
  EXPECT_NE(shown.text.find(std::string("\n") + kKoreanRules + "\n"), std::string::npos);
  EXPECT_NE(shown.text.find("키보드 맵핑, HOTKEY"), std::string::npos);
  EXPECT_EQ(shown.caption, "Tastron");
  EXPECT_EQ(shown.type, 0x30u);  // OK, exclamation
  library_.Push(HookSettings{});
  library_.StartForWindow(7);
  EXPECT_EQ(FakeHookLibrary::pushed.size(), 1u);
  EXPECT_EQ(FakeHookLibrary::calls.back(), "EnableHookStatue 1");
  EXPECT_EQ(fake_.MessageBoxes().size(), 1u);
}

TEST_F(HookLibraryPathsTest, AProgramFolderWithoutAnyFormWithholdsOnlyTheDeviceTool) {
  fake_.SetCodePage(CodePage::Western);
  const std::string rules = "C:\\Users\\tester\\AppData\\Roaming\\tastron\\config.ini";
  const std::string tool = "C:\\프로그램\\dc64.exe";
  fake_.AnswerNextMessageBox(message_box::kIdOk);
  ASSERT_TRUE(library_.LoadForHost(rules, tool));
  EXPECT_EQ(HandedOver(), (std::vector<std::string>{"SetConfigINI " + rules, "SetDevconPath "}));
  ASSERT_EQ(fake_.MessageBoxes().size(), 1u);
  EXPECT_TRUE(fake_.MessageBoxes()[0].text.starts_with("장치 도구의 경로를"));
  EXPECT_NE(fake_.MessageBoxes()[0].text.find(tool), std::string::npos);
}

// The library keeps 259 characters of a path and would open another file with the rest cut off.
TEST_F(HookLibraryPathsTest, APathLongerThanTheLibrarysFieldGoesShortOrNotAtAll) {
  const std::string deep = "C:\\" + std::string(240, 'd');
  const std::string rules = deep + "\\tastron\\config.ini";  // 262 characters
  fake_.AnswerNextMessageBox(message_box::kIdOk);
  ASSERT_TRUE(library_.LoadForHost(rules, kTool));
  EXPECT_EQ(HandedOver()[0], "SetConfigINI ");
  EXPECT_EQ(fake_.MessageBoxes().size(), 1u);

  FakeHookLibrary::Reset();
  CHookLibrary again;
  fake_.AddShortForm(deep, "C:\\DDDDDD~1");
  ASSERT_TRUE(again.LoadForHost(rules, kTool));
  EXPECT_EQ(HandedOver()[0], "SetConfigINI C:\\DDDDDD~1\\tastron\\config.ini");
  EXPECT_EQ(fake_.MessageBoxes().size(), 1u);  // no second message
}

// The whole program with a Korean user folder that has no form in the code page: one message
// before the window, then the window as always, its switches pushed to the library.
TEST(HookLibraryPathsAtStartUp, TheProgramTellsOnceAndRunsOn) {
  FakeServices fake;
  fake.SetCodePage(CodePage::Western);
  fake.SetUserAppDataFolder("C:\\Users\\홍길동\\AppData\\Roaming");
  const InstalledServices installedServices(fake);
  FakeHookLibrary::Reset();
  fake.AddModule("trellin_192.dll", FakeHookLibrary::Exports());
  SimDialogRunner runner;
  const InstalledDialogRunner installedRunner(runner);
  runner.When(102, [&](SimDialogHost& window) {
    EXPECT_EQ(fake.MessageBoxes().size(), 1u);
    window.Click(1003);
    EXPECT_EQ(FakeHookLibrary::pushed.back().Lock_CapsLock, 0);
    fake.AnswerNextMessageBox(message_box::kIdYes);
    window.Click(1012);
  });
  fake.AnswerNextMessageBox(message_box::kIdOk);  // the path nobody can use
  CVelloranApp app;
  app.Run("");
  EXPECT_EQ(runner.Ran(), (std::vector<int>{102}));
  ASSERT_EQ(fake.MessageBoxes().size(), 2u);  // and the exit question
  EXPECT_NE(
      fake.MessageBoxes()[0].text.find("C:\\Users\\홍길동\\AppData\\Roaming\\tastron\\config.ini"),
      std::string::npos);
  EXPECT_EQ(FakeHookLibrary::calls[0], "SetConfigINI ");
  EXPECT_NE(
      std::find(FakeHookLibrary::calls.begin(), FakeHookLibrary::calls.end(), "EnableHookStatue 1"),
      FakeHookLibrary::calls.end());
}

}  // namespace
