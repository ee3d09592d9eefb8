#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/LogonTask.h"

namespace {

// The text of the element reached through `path` ("Principals/Principal/RunLevel"), each step
// searched inside the one before; "(missing)" when a step is not there.
std::string Element(const std::string& xml, const std::string& path) {
  std::size_t from = 0;
  std::size_t to = xml.size();
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = path.find('/', start);
    const std::string name = path.substr(start, slash == std::string::npos ? slash : slash - start);
    const std::size_t open = xml.find('<' + name, from);
    const std::size_t body = open == std::string::npos ? open : xml.find('>', open);
    const std::size_t close = xml.find("</" + name + '>', from);
    if (open == std::string::npos || open >= to || body == std::string::npos ||
        close == std::string::npos || close > to) {
      return "(missing)";
    }
    from = body + 1;
    to = close;
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return xml.substr(from, to - from);
}

int Count(const std::string& xml, const std::string& text) {
  int count = 0;
  for (std::size_t at = xml.find(text); at != std::string::npos; at = xml.find(text, at + 1)) {
    ++count;
  }
  return count;
}

TEST(LogonTask, StartsAtThisUsersLogonWithTheHighestRightsAndNoLimits) {
  const std::string xml =
      LogonTaskXml({"PC\\kim", "C:\\Program Files\\Tastron\\Tastron.exe", "startup"});
  const std::vector<std::pair<std::string, std::string>> elements = {
      {"Triggers/LogonTrigger/UserId", "PC\\kim"},
      {"Triggers/LogonTrigger/Enabled", "true"},
      {"Principals/Principal/UserId", "PC\\kim"},
      {"Principals/Principal/LogonType", "InteractiveToken"},
      {"Principals/Principal/RunLevel", "HighestAvailable"},
      {"Settings/ExecutionTimeLimit", "PT0S"},
      {"Settings/DisallowStartIfOnBatteries", "false"},
      {"Settings/StopIfGoingOnBatteries", "false"},
      {"Settings/Enabled", "true"},
      {"Actions/Exec/Command", "C:\\Program Files\\Tastron\\Tastron.exe"},
      {"Actions/Exec/Arguments", "startup"},
  };
  for (const auto& [path, text] : elements) EXPECT_EQ(Element(xml, path), text) << path;
  EXPECT_EQ(Count(xml, "Trigger>"), 2);  // one trigger of any kind: <LogonTrigger> and its end
  EXPECT_EQ(Count(xml, "<Exec>"), 1);
  EXPECT_TRUE(
      xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<Task version=\"1.2\""));
}

TEST(LogonTask, NamesAndPathsAreEscaped) {
  const std::string xml = LogonTaskXml({"R&D\\<kim>", "C:\\A&B's \"tools\"\\Tastron.exe", "x<y"});
  EXPECT_EQ(Element(xml, "Triggers/LogonTrigger/UserId"), "R&amp;D\\&lt;kim&gt;");
  EXPECT_EQ(Element(xml, "Actions/Exec/Command"),
            "C:\\A&amp;B&apos;s &quot;tools&quot;\\Tastron.exe");
  EXPECT_EQ(Element(xml, "Actions/Exec/Arguments"), "x&lt;y");
}

}  // namespace
