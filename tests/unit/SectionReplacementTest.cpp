#include <gtest/gtest.h>

#include <filesystem>

#include "profile/IniFileProfile.h"
#include "profile/SectionReplacement.h"
#include "tests/unit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

TEST(SectionReplacementTest, SectionsAreReplacedWhereTheyStandAndNothingElseMoves) {
  const std::string text =
      "; top\r\n[Tastron]\r\nStartup=1\r\n[hotkey]\r\nold=1\r\n\r\n[KeyChange]\r\n41/1e=42/30\r\n"
      "[Mouse]\r\nOffState=0";
  EXPECT_EQ(ReplaceSectionsInText(text, {{"Hotkey", {"a=1", "a=2", "no equals"}},
                                         {"KeyChange", {}},
                                         {"MouseMap2", {"KeyState=0/0/0/0/0/0"}}}),
            "; top\r\n[Tastron]\r\nStartup=1\r\n[Hotkey]\r\na=1\r\na=2\r\nno equals\r\n"
            "[Mouse]\r\nOffState=0\r\n[MouseMap2]\r\nKeyState=0/0/0/0/0/0\r\n");
  // A file of "\n" lines gets "\n" lines; an empty one gets "\r\n".
  EXPECT_EQ(ReplaceSectionsInText("[A]\nx=1\n", {{"B", {"y=2"}}}), "[A]\nx=1\n[B]\ny=2\n");
  EXPECT_EQ(ReplaceSectionsInText("", {{"B", {"y=2"}}}), "[B]\r\ny=2\r\n");
  EXPECT_EQ(ReplaceSectionsInText("", {{"B", {}}}), "");
}

class SectionReplacementFileTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  std::string file_ = folder_.File("config.ini");
  IniFileProfile profile_;
};

// The rule file may be a link to a file kept elsewhere (a synchronised folder): the link stays
// and its target gets the new sections.
TEST_F(SectionReplacementFileTest, ALinkStaysALinkToTheSameTarget) {
  const std::string target = folder_.File("kept-elsewhere.ini");
  TempFolder::Write(target, "[Hotkey]\r\nold=1\r\n");
  fs::create_symlink(target, file_);
  ASSERT_TRUE(profile_.ReplaceSections(file_, {{"Hotkey", {"new=1"}}}));
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(fs::read_symlink(file_), target);
  EXPECT_EQ(TempFolder::Read(target), "[Hotkey]\r\nnew=1\r\n");
  ASSERT_TRUE(profile_.WriteString(file_, "Hotkey", "more", "2"));
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(TempFolder::Read(target), "[Hotkey]\r\nnew=1\r\nmore=2\r\n");
}

TEST_F(SectionReplacementFileTest, AReadOnlyFileIsRefusedAndNothingIsLeftBehind) {
  TempFolder::Write(file_, "[Hotkey]\r\nold=1\r\n");
  fs::permissions(file_, fs::perms::owner_read);
  EXPECT_FALSE(profile_.ReplaceSections(file_, {{"Hotkey", {"new=1"}}}));
  EXPECT_FALSE(profile_.WriteString(file_, "Hotkey", "new", "1"));
  EXPECT_EQ(TempFolder::Read(file_), "[Hotkey]\r\nold=1\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(file_).parent_path()),
                          fs::directory_iterator()),
            1);
  fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(profile_.ReplaceSections(file_, {{"Hotkey", {"new=1"}}}));
  EXPECT_EQ(TempFolder::Read(file_), "[Hotkey]\r\nnew=1\r\n");
}

}  // namespace
