#include <gtest/gtest.h>

#include <filesystem>

#include "profile/IniFileProfile.h"
#include "tests/unit/TempFolder.h"

namespace {

class IniFileProfileTest : public ::testing::Test {
 protected:
  std::string Get(const std::string& section, const std::string& key,
                  const std::string& defaultValue = "default", std::size_t size = 255) {
    return profile_.GetString(file_, section, key, defaultValue, size);
  }
  void Given(const std::string& text) { TempFolder::Write(file_, text); }
  std::string Contents() const { return TempFolder::Read(file_); }

  TempFolder folder_;
  std::string file_ = folder_.File("config.ini");
  IniFileProfile profile_;
};

TEST_F(IniFileProfileTest, MissingFileReadsAsEmptyAndTheFirstWriteCreatesIt) {
  EXPECT_EQ(Get("Hotkey", "k"), "default");
  EXPECT_TRUE(profile_.GetSection(file_, "Hotkey", 4096).lines.empty());
  EXPECT_EQ(profile_.GetInt(file_, "Mouse", "OffState", 0), 0);
  EXPECT_FALSE(std::filesystem::exists(file_));  // reading creates nothing

  EXPECT_TRUE(profile_.WriteString(file_, "App1", "key1", "string1"));
  EXPECT_EQ(Contents(), "[App1]\r\nkey1=string1\r\n");
}

TEST_F(IniFileProfileTest, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd) {
  profile_.WriteString(file_, "App1", "key1", "string1");
  profile_.WriteString(file_, "App2", "key4", "string4");
  profile_.WriteString(file_, "App1", "key2", "string2");
  profile_.WriteString(file_, "App3", "key5", "string5");
  EXPECT_EQ(Contents(),
            "[App1]\r\nkey1=string1\r\nkey2=string2\r\n[App2]\r\nkey4=string4\r\n"
            "[App3]\r\nkey5=string5\r\n");
  // A changed value stays where it was.
  profile_.WriteString(file_, "app1", "KEY1", "changed");
  EXPECT_EQ(Contents(),
            "[App1]\r\nkey1=changed\r\nkey2=string2\r\n[App2]\r\nkey4=string4\r\n"
            "[App3]\r\nkey5=string5\r\n");
}

TEST_F(IniFileProfileTest, EverythingAWriteDoesNotTouchSurvives) {
  const std::string before =
      "text before any section\n"
      "; a comment\n"
      "[Hotkey]\n"
      "  41/1e/1/0/0/0/0/0/0/0 = 1/calc.exe/ \n"
      "a line without equals\n"
      "\n"
      "[Other]\r"
      "x=1";
  Given(before);
  profile_.WriteString(file_, "Hotkey", "42/30/0/0/0/0/0/0/0/0", "1/b.exe/");
  EXPECT_EQ(Contents(),
            "text before any section\n"
            "; a comment\n"
            "[Hotkey]\n"
            "  41/1e/1/0/0/0/0/0/0/0 = 1/calc.exe/ \n"
            "a line without equals\n"
            "42/30/0/0/0/0/0/0/0/0=1/b.exe/\r\n"
            "\n"
            "[Other]\r"
            "x=1");
  // A new section after a last line without its end gets one first.
  profile_.WriteString(file_, "Mouse", "OffState", "1");
  EXPECT_TRUE(Contents().ends_with("[Other]\rx=1\r\n[Mouse]\r\nOffState=1\r\n"));
}

TEST_F(IniFileProfileTest, NamesMatchWithoutCaseAndBlanksAreTrimmed) {
  Given("[ KeyChange ]\r\n  14/3A  =  a2/1d  \r\n");
  EXPECT_EQ(Get("keychange", "14/3a"), "a2/1d");
  EXPECT_EQ(Get("KEYCHANGE", " 14/3A "), "a2/1d");
  EXPECT_EQ(Get("KeyChange", "14/3b"), "default");
  EXPECT_EQ(Get("KeyChanges", "14/3a"), "default");
}

TEST_F(IniFileProfileTest, OnePairOfMatchingOuterQuotesIsStripped) {
  Given(
      "[S]\r\n"
      "double=\"v\"\r\n"
      "single='v'\r\n"
      "mixed=\"v'\r\n"
      "lone=\"\r\n"
      "empty=\"\"\r\n"
      "nested=\"\"a\"\"\r\n"
      "inner=a\"b\"\r\n");
  EXPECT_EQ(Get("S", "double"), "v");
  EXPECT_EQ(Get("S", "single"), "v");
  EXPECT_EQ(Get("S", "mixed"), "\"v'");
  EXPECT_EQ(Get("S", "lone"), "\"");
  EXPECT_EQ(Get("S", "empty"), "");
  EXPECT_EQ(Get("S", "nested"), "\"a\"");
  EXPECT_EQ(Get("S", "inner"), "a\"b\"");
  // The section read hands values out as they stand.
  EXPECT_EQ(profile_.GetSection(file_, "S", 4096).lines.front(), "double=\"v\"");
}

TEST_F(IniFileProfileTest, TheBufferBoundsWhatComesBack) {
  Given("[S]\r\nk=abcdef\r\n");
  EXPECT_EQ(Get("S", "k", "", 4), "abc");
  EXPECT_EQ(Get("S", "k", "", 7), "abcdef");
  EXPECT_EQ(Get("S", "k", "", 1), "");
  EXPECT_EQ(Get("S", "k", "", 0), "");
  EXPECT_EQ(Get("S", "missing", "defaults", 4), "def");
  // Trailing blanks of the default go.
  EXPECT_EQ(Get("S", "missing", "dflt  "), "dflt");
  // The hook library's 255-character buffer keeps 254 characters.
  profile_.WriteString(file_, "S", "long", std::string(300, 'x'));
  EXPECT_EQ(Get("S", "long", "", 255).size(), 254u);
}

TEST_F(IniFileProfileTest, TheFirstOfTwoEqualKeysWins) {
  Given("[S]\r\nk=first\r\nK=second\r\n[s]\r\nk=third\r\n");
  EXPECT_EQ(Get("S", "k"), "first");
  profile_.WriteString(file_, "S", "k", "new");
  EXPECT_EQ(Contents(), "[S]\r\nk=new\r\nK=second\r\n[s]\r\nk=third\r\n");
  // A section read lists the first section of that name.
  EXPECT_EQ(profile_.GetSection(file_, "s", 4096).lines,
            (std::vector<std::string>{"k=new", "K=second"}));
}

TEST_F(IniFileProfileTest, DeletingKeysAndSections) {
  profile_.WriteString(file_, "App1", "key1", "string1");
  profile_.WriteString(file_, "App1", "key2", "string2");
  profile_.WriteString(file_, "App2", "key3", "string3");
  EXPECT_TRUE(profile_.DeleteKey(file_, "App1", "KEY2"));
  EXPECT_TRUE(profile_.DeleteKey(file_, "App1", "key2"));  // already gone: nothing changes
  EXPECT_EQ(Contents(), "[App1]\r\nkey1=string1\r\n[App2]\r\nkey3=string3\r\n");
  EXPECT_TRUE(profile_.DeleteKey(file_, "App2", "key3"));
  EXPECT_EQ(Contents(), "[App1]\r\nkey1=string1\r\n[App2]\r\n");  // the header stays
  EXPECT_TRUE(profile_.DeleteSection(file_, "app1"));
  EXPECT_EQ(Contents(), "[App2]\r\n");
  EXPECT_TRUE(profile_.DeleteSection(file_, "Nothing"));
  EXPECT_EQ(Contents(), "[App2]\r\n");
}

TEST_F(IniFileProfileTest, SectionReadsListLinesWithoutEqualsButNotCommentsOrBlanks) {
  Given("[S]\r\n; note\r\nname1=val1\r\n\r\n  name2 = \"val2\" \r\nname3\r\nname4=a\r\n[T]\r\n");
  ProfileSection section = profile_.GetSection(file_, "S", 4096);
  EXPECT_EQ(section.lines,
            (std::vector<std::string>{"name1=val1", "name2=\"val2\"", "name3", "name4=a"}));
  EXPECT_EQ(section.count, 38u);  // each line and its zero, without the closing zero
  // A key without "=" reads as missing.
  EXPECT_EQ(Get("S", "name3"), "default");
  // Too small a buffer keeps size - 2 characters and reports size - 2.
  section = profile_.GetSection(file_, "S", 5);
  EXPECT_EQ(section.count, 3u);
  EXPECT_EQ(section.lines, (std::vector<std::string>{"nam"}));
  EXPECT_TRUE(profile_.GetSection(file_, "T", 4096).lines.empty());
  EXPECT_EQ(profile_.GetSection(file_, "T", 4096).count, 0u);
}

TEST_F(IniFileProfileTest, IntegerReadsTakeASignAndStopAtTheFirstNonDigit) {
  Given("[S]\r\na=12abc\r\nb=-7\r\nc=\r\nd=abc\r\ne= +5\r\nf=\"42\"\r\n");
  EXPECT_EQ(profile_.GetInt(file_, "S", "a", 9), 12);
  EXPECT_EQ(profile_.GetInt(file_, "S", "b", 9), -7);
  EXPECT_EQ(profile_.GetInt(file_, "S", "c", 9), 9);  // empty: the default
  EXPECT_EQ(profile_.GetInt(file_, "S", "d", 9), 0);
  EXPECT_EQ(profile_.GetInt(file_, "S", "e", 9), 5);
  EXPECT_EQ(profile_.GetInt(file_, "S", "f", 9), 42);
  EXPECT_EQ(profile_.GetInt(file_, "S", "missing", 9), 9);
}

TEST_F(IniFileProfileTest, AFailedWriteReportsItAndKeepsTheOldFile) {
  const std::string nowhere = folder_.File("no/such/folder/config.ini");
  EXPECT_FALSE(profile_.WriteString(nowhere, "S", "k", "v"));
  Given("[S]\r\nk=v\r\n");
  std::filesystem::create_directory(file_ + ".tastron-new");  // the replacement cannot be made
  EXPECT_FALSE(profile_.WriteString(file_, "S", "k", "changed"));
  EXPECT_EQ(Contents(), "[S]\r\nk=v\r\n");
}

}  // namespace
