// The library keeps the rule file parsed; a rule written by anyone must still apply at the next
// event. Each case takes away all but one of the ways a change is noticed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include "hook/RuleCache.h"
#include "profile/IniDocument.h"
#include "profile/IniFileProfile.h"
#include "profile/ProfileIndex.h"
#include "sim/SimDesktop.h"
#include "tests/unit/TempFolder.h"

namespace {

using std::chrono::hours;

class RuleCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop_.StartLikeHost();
    desktop_.HostSettings().Key_KeyChange = 1;
    desktop_.PushSettings();
  }
  // Writes the rule file behind the desktop's back (no change signal), with a time stamp.
  void WriteRules(const std::string& text, std::filesystem::file_time_type stamp) {
    TempFolder::Write(desktop_.RuleFilePath(), text);
    std::filesystem::last_write_time(desktop_.RuleFilePath(), stamp);
  }
  // What pressing and releasing A produces.
  std::string PressA() {
    trace_.str("");
    desktop_.Key({0x41, 0x1E}, false, true);
    desktop_.Key({0x41, 0x1E}, false, false);
    return trace_.str();
  }

  std::ostringstream trace_;
  SimDesktop desktop_{trace_};
  const std::filesystem::file_time_type anHourAgo_ =
      std::filesystem::file_time_type::clock::now() - hours(1);
};

TEST_F(RuleCacheTest, AnUnchangedFileIsReadOnce) {
  WriteRules("[KeyChange]\n41/1e=42/30\n", anHourAgo_);
  const int before = desktop_.RuleFileReads();
  for (int i = 0; i < 50; ++i) EXPECT_NE(PressA().find("42/30"), std::string::npos);
  EXPECT_EQ(desktop_.RuleFileReads() - before, 1);
}

// Two writes within the time stamp's resolution that keep the size: only the change signal
// tells them apart.
TEST_F(RuleCacheTest, AChangeSignalCatchesAWriteThatKeepsSizeAndTimeStamp) {
  WriteRules("[KeyChange]\n41/1e=42/30\n", anHourAgo_);
  ASSERT_NE(PressA().find("42/30"), std::string::npos);
  desktop_.SetRule("KeyChange", "41/1e", "43/2e");  // signalled
  std::filesystem::last_write_time(desktop_.RuleFilePath(), anHourAgo_);
  EXPECT_NE(PressA().find("43/2e"), std::string::npos);
}

// A signal that was lost (or comes late): the file's size or time stamp gives the change away.
TEST_F(RuleCacheTest, SizeOrTimeStampCatchAChangeWhoseSignalWasLost) {
  desktop_.LoseChangeSignals(true);
  WriteRules("[KeyChange]\n41/1e=42/30\n", anHourAgo_);
  ASSERT_NE(PressA().find("42/30"), std::string::npos);
  WriteRules("[KeyChange]\n41/1e=43/2e\n", anHourAgo_ + hours(-1));  // same size, other time
  EXPECT_NE(PressA().find("43/2e"), std::string::npos);
  WriteRules("[KeyChange]\n41/1e=44/20 \n", anHourAgo_ + hours(-1));  // same time, other size
  EXPECT_NE(PressA().find("44/20"), std::string::npos);
}

// Lost signal, same size, and a time stamp the next write may share: the file is read again at
// every event until the clock has moved past the stamp's resolution.
TEST_F(RuleCacheTest, ARecentlyWrittenFileIsReadAgainAtEveryEvent) {
  desktop_.LoseChangeSignals(true);
  const auto now = std::filesystem::file_time_type::clock::now();
  WriteRules("[KeyChange]\n41/1e=42/30\n", now);
  ASSERT_NE(PressA().find("42/30"), std::string::npos);
  WriteRules("[KeyChange]\n41/1e=43/2e\n", now);
  EXPECT_NE(PressA().find("43/2e"), std::string::npos);
}

TEST_F(RuleCacheTest, AnotherRuleFilePathIsReadAfresh) {
  TempFolder other;
  const std::string otherFile = other.File("config.ini");
  WriteRules("[KeyChange]\n41/1e=42/30\n", anHourAgo_);
  ASSERT_NE(PressA().find("42/30"), std::string::npos);
  TempFolder::Write(otherFile, "[KeyChange]\n41/1e=43/2e\n");
  std::filesystem::last_write_time(otherFile, anHourAgo_);
  desktop_.LoseChangeSignals(true);
  desktop_.Engine().SetConfigINI(otherFile.c_str());
  EXPECT_NE(PressA().find("43/2e"), std::string::npos);
}

// The watcher reads; a hook call only takes what it finished. Until its round, events keep the
// rules taken before, however large the new file is.
TEST_F(RuleCacheTest, EventsKeepTheRulesTakenBeforeUntilTheWatcherHasReadTheFile) {
  WriteRules("[KeyChange]\n41/1e=42/30\n", anHourAgo_);
  ASSERT_NE(PressA().find("42/30"), std::string::npos);
  desktop_.HoldRuleWatcher(true);
  std::string large = "[KeyChange]\r\n41/1e=43/2e\r\n";
  for (int i = 0; i < 20000; ++i) large += "[s" + std::to_string(i) + "]\r\nk=v\r\n";
  desktop_.LoadRuleFile(large);
  const int reads = desktop_.RuleFileReads();
  for (int i = 0; i < 5; ++i) EXPECT_NE(PressA().find("42/30"), std::string::npos);
  EXPECT_EQ(desktop_.RuleFileReads(), reads);
  desktop_.HoldRuleWatcher(false);
  desktop_.RunRuleWatcher();
  EXPECT_NE(PressA().find("43/2e"), std::string::npos);
}

// Whatever happens to the rule file, no hook call checks, reads or writes it.
TEST_F(RuleCacheTest, NoHookCallTouchesTheFileSystem) {
  TempFolder other;
  const std::string otherFile = other.File("config.ini");
  TempFolder::Write(otherFile, "[KeyChange]\n41/1e=45/12\n");
  const struct {
    const char* what;
    std::function<void(SimDesktop&)> change;
    const char* expected;
  } kChanges[] = {
      {"a rule written", [](SimDesktop& d) { d.SetRule("KeyChange", "41/1e", "42/30"); }, "42/30"},
      {"a file replaced", [](SimDesktop& d) { d.LoadRuleFile("[KeyChange]\n41/1e=43/2e\n"); },
       "43/2e"},
      {"another path", [&](SimDesktop& d) { d.Engine().SetConfigINI(otherFile.c_str()); }, "45/12"},
      {"a failed read",
       [](SimDesktop& d) {
         d.FailRuleFileReads(true);
         d.LoadRuleFile("[KeyChange]\n41/1e=44/20\n");
       },
       "45/12"},
      {"the hooks restarted",
       [](SimDesktop& d) {
         d.FailRuleFileReads(false);
         d.Engine().StopHook();
         d.Engine().StartHook(d.HostWindow());
       },
       "45/12"},
  };
  for (const auto& change : kChanges) {
    change.change(desktop_);
    desktop_.AdvanceTime(std::chrono::milliseconds(RuleCache::kRetryAfterFailureMs));
    EXPECT_NE(PressA().find(change.expected), std::string::npos) << change.what;
    EXPECT_EQ(desktop_.FileCallsInHookCalls(), 0) << change.what;
  }
}

// Linear, this takes well under a second; looking each section up from the file's start took
// minutes (a damaged rule file of 20 000 sections held a hook call for seconds).
// Linear, not quadratic, in the number of sections: four times the sections may take about four
// times as long, never sixteen. Measured as a ratio within one run, each size at its fastest of
// three, so that the machine's speed and load cancel out.
TEST(ProfileIndex, ReadsAnyNumberOfSectionsInLinearTime) {
  const auto sections = [](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "[section " + std::to_string(i) + "]\r\nk=v\r\n";
    return text + "[Last]\r\nkey=found\r\n";
  };
  const auto fastestRead = [](const std::string& text, std::size_t expectedSections) {
    auto fastest = std::chrono::steady_clock::duration::max();
    for (int round = 0; round < 3; ++round) {
      const auto started = std::chrono::steady_clock::now();
      const ProfileIndex index(text);
      EXPECT_EQ(index.GetString("last", "KEY", 255), "found");
      EXPECT_EQ(IniDocument(text).SectionNames().size(), expectedSections);
      fastest = std::min(fastest, std::chrono::steady_clock::now() - started);
    }
    return std::chrono::duration<double>(fastest).count();
  };
  const double small = fastestRead(sections(5000), 5001u);
  const double large = fastestRead(sections(20000), 20001u);
  EXPECT_LT(large, 10 * small) << "5 000 sections: " << small << " s, 20 000: " << large << " s";
}

// A read that fails is not an empty rule file: the rules read before stay, and the read is
// tried again, after a while or at the next change.
TEST_F(RuleCacheTest, AFailedReadKeepsTheRulesAndIsTriedAgain) {
  WriteRules("[KeyChange]\n41/1e=42/30\n", anHourAgo_);
  ASSERT_NE(PressA().find("42/30"), std::string::npos);
  desktop_.FailRuleFileReads(true);
  desktop_.LoadRuleFile("[KeyChange]\n41/1e=43/2e\n");
  EXPECT_NE(PressA().find("42/30"), std::string::npos) << "a failed read emptied the rules";
  desktop_.FailRuleFileReads(false);
  desktop_.AdvanceTime(std::chrono::milliseconds(RuleCache::kRetryAfterFailureMs));
  EXPECT_NE(PressA().find("43/2e"), std::string::npos);
}

TEST_F(RuleCacheTest, AFileOverTheSizeLimitKeepsTheRules) {
  WriteRules("[KeyChange]\n41/1e=42/30\n", anHourAgo_);
  ASSERT_NE(PressA().find("42/30"), std::string::npos);
  std::string huge = "[KeyChange]\n41/1e=43/2e\n";
  huge.resize(RuleCache::kLargestRuleFile + 1, ';');
  desktop_.LoadRuleFile(huge);
  for (int i = 0; i < 3; ++i) EXPECT_NE(PressA().find("42/30"), std::string::npos);
  desktop_.LoadRuleFile("[KeyChange]\n41/1e=44/20\n");
  EXPECT_NE(PressA().find("44/20"), std::string::npos) << "the next good file was not read";
}

// A time stamp the clock has not reached yet stays "recent" by the clock for ever; it is read
// again only for as long as a stamp's resolution lasts after it was first seen.
TEST_F(RuleCacheTest, ATimeStampInTheFutureIsNotReadAgainForEver) {
  desktop_.LoseChangeSignals(true);
  WriteRules("[KeyChange]\n41/1e=42/30\n",
             std::filesystem::file_time_type::clock::now() + hours(1));
  ASSERT_NE(PressA().find("42/30"), std::string::npos);
  desktop_.AdvanceTime(std::chrono::milliseconds(RuleCache::kRecentWriteRereadMs));
  PressA();
  const int reads = desktop_.RuleFileReads();
  for (int i = 0; i < 50; ++i) EXPECT_NE(PressA().find("42/30"), std::string::npos);
  EXPECT_EQ(desktop_.RuleFileReads(), reads);
}

// The index answers as the profile engine does, whatever the file holds.
TEST(ProfileIndex, AnswersAsTheProfileEngine) {
  TempFolder folder;
  const std::string file = folder.File("rules.ini");
  IniFileProfile profile;
  std::mt19937 random(12);
  const std::string alphabet = "[]=;\"' \t\r\nabAB/$x";
  const std::vector<std::string> names = {"a", "B", " a ", "", "x y"};
  std::uniform_int_distribution<std::size_t> length(0, 160);
  for (int i = 0; i < 400; ++i) {
    std::string text(length(random), ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    TempFolder::Write(file, text);
    const ProfileIndex index(text);
    for (const std::string& section : names) {
      for (const std::string& key : names) {
        for (const std::size_t size : {1u, 3u, 255u}) {
          ASSERT_EQ(index.GetString(section, key, size),
                    profile.GetString(file, section, key, "", size))
              << "file: " << testing::PrintToString(text) << " [" << section << "] " << key;
        }
      }
    }
  }
}

}  // namespace
