#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/HookSettingNames.h"
#include "common/KeyNameTable.h"
#include "common/RuleFormat.h"
#include "common/RuleRecord.h"

namespace {

using Fields = std::vector<std::string>;

TEST(RuleGrammar, SplitsAtEverySlash) {
  const std::vector<std::pair<std::string, Fields>> cases = {
      {"", {}},
      {"a", {"a"}},
      {"a/b", {"a", "b"}},
      {"a/", {"a"}},  // a trailing slash gives no empty last field
      {"a//b", {"a", "", "b"}},
      {"/", {""}},
      {"//", {"", ""}},
      {"/a", {"", "a"}},
      {"0/41/1e/1/0/0/0/0/0/0/0", {"0", "41", "1e", "1", "0", "0", "0", "0", "0", "0", "0"}},
  };
  for (const auto& [record, fields] : cases) {
    EXPECT_EQ(SplitRecord(record), fields) << '"' << record << '"';
  }
  const Fields two = SplitRecord("x/y");
  EXPECT_EQ(RecordField(two, 2), "y");
  EXPECT_EQ(RecordField(two, 3), "");  // missing fields read as empty
  EXPECT_EQ(RecordField(two, 0), "");
}

TEST(RuleGrammar, ReadsHexadecimalFieldsLikeStrtoul) {
  const std::vector<std::pair<std::string, std::uint32_t>> cases = {
      {"1f", 0x1F},
      {"1F", 0x1F},
      {"  a2", 0xA2},
      {"\t0x1d", 0x1D},
      {"0X1D", 0x1D},
      {"12zz", 0x12},
      {"zz", 0},
      {"", 0},
      {"0x", 0},
      {"0xg", 0},
      {"+a", 0xA},
      {"-1", 0xFFFFFFFF},
      {"123456789", 0xFFFFFFFF},  // overflow saturates
      {"ffffffff", 0xFFFFFFFF},
      {"100", 0x100},
      {" 0 x1", 0},
  };
  for (const auto& [text, value] : cases)
    EXPECT_EQ(ReadHexField(text), value) << '"' << text << '"';
}

TEST(RuleGrammar, ReadsDecimalFieldsAndFlags) {
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {"0", 0},
      {"1", 1},
      {"12abc", 12},
      {" -5", -5},
      {"+7", 7},
      {"x", 0},
      {"", 0},
      {"99999999999", 2147483647},
      {"-99999999999", -2147483647 - 1},
      {"2", 2},
  };
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(ReadDecimalField(text), value) << '"' << text << '"';
  }
  EXPECT_FALSE(ReadFlagField("0"));
  EXPECT_FALSE(ReadFlagField("no"));
  EXPECT_TRUE(ReadFlagField("1"));
  EXPECT_TRUE(ReadFlagField("-3"));  // anything but 0 counts as set
}

TEST(RuleGrammar, EscapesParametersBothWays) {
  EXPECT_EQ(EscapeParameter("a/b$c"), "a$!b$$c");
  EXPECT_EQ(UnescapeParameter("a$!b$$c"), "a/b$c");
  EXPECT_EQ(UnescapeParameter("c:$!a.txt"), "c:/a.txt");
  // Stray escapes are kept as they stand.
  EXPECT_EQ(UnescapeParameter("$x$"), "$x$");
  // A literal "$!" survives the round trip: decoding "$!" before "$$" would give "$/".
  EXPECT_EQ(EscapeParameter("$!"), "$$!");
  EXPECT_EQ(UnescapeParameter("$$!"), "$!");
  // Every text of the troublesome characters comes back unchanged.
  const std::string alphabet = "$!/a";
  for (int length = 0; length <= 6; ++length) {
    int combinations = 1;
    for (int i = 0; i < length; ++i) combinations *= 4;
    for (int n = 0; n < combinations; ++n) {
      std::string text;
      for (int i = 0, k = n; i < length; ++i, k /= 4)
        text += alphabet[static_cast<std::size_t>(k % 4)];
      ASSERT_EQ(UnescapeParameter(EscapeParameter(text)), text);
      ASSERT_EQ(EscapeParameter(text).find('/'), std::string::npos);
    }
  }
}

TEST(RuleGrammar, FormatsRuleKeys) {
  ModifierFlags ctrlAlt;
  ctrlAlt[Modifier::LCtrl] = true;
  ctrlAlt[Modifier::LAlt] = true;
  EXPECT_EQ(FormatHotkeyKey(0x4B, 0x25, ctrlAlt), "4b/25/1/1/0/0/0/0/0/0");
  ModifierFlags rightCtrl;
  rightCtrl[Modifier::RCtrl] = true;
  EXPECT_EQ(FormatHotkeyKey(0x4B, 0x25, rightCtrl), "4b/25/0/0/0/0/1/0/0/0");
  // Codes beyond a byte keep all their digits, so they never match a stored rule.
  EXPECT_EQ(FormatHotkeyKey(0x14B, 0x5, {}), "14b/05/0/0/0/0/0/0/0/0");
  EXPECT_EQ(FormatKeyCodePair({0x0D, 0x1C}), "0d/1c");

  ModifierFlags all;
  for (std::size_t i = 0; i < kModifierCount; ++i) all[static_cast<Modifier>(i)] = true;
  EXPECT_EQ(FormatKeyState(all), "1/1/1/1/1/1");
  ModifierFlags companions;
  companions[Modifier::LShift] = true;
  companions[Modifier::RCtrl] = true;
  companions[Modifier::LWin] = true;  // not a companion
  EXPECT_EQ(FormatKeyState(companions), "0/0/1/1/0/0");
}

TEST(RuleGrammar, FormatsAndParsesActionRecords) {
  ActionRecord shortcut;
  shortcut.key = {0x45, 0x12};
  shortcut.modifiers[Modifier::LWin] = true;
  EXPECT_EQ(FormatActionRecord(shortcut), "0/45/12/0/0/0/1/0/0/0/0");
  EXPECT_EQ(ParseActionRecord(FormatActionRecord(shortcut)), shortcut);

  ActionRecord program;
  program.kind = ActionRecord::Kind::RunProgram;
  program.program = "notepad.exe";
  program.parameter = "c:/a.txt";
  EXPECT_EQ(FormatActionRecord(program), "1/notepad.exe/c:$!a.txt");
  EXPECT_EQ(ParseActionRecord("1/notepad.exe/c:$!a.txt"), program);

  // Kind 2 pauses Tastron, whatever follows; any other nonzero kind runs a program, a missing
  // parameter being empty.
  ActionRecord pause;
  pause.kind = ActionRecord::Kind::PauseTastron;
  EXPECT_EQ(FormatActionRecord(pause), "2/");
  EXPECT_EQ(ParseActionRecord("2/calc.exe"), pause);
  const ActionRecord three = ParseActionRecord("3/calc.exe");
  EXPECT_EQ(three.kind, ActionRecord::Kind::RunProgram);
  EXPECT_EQ(three.program, "calc.exe");
  EXPECT_EQ(three.parameter, "");

  // A kind that is not a number reads as 0; codes keep their low byte; missing flags are 0.
  const ActionRecord odd = ParseActionRecord("x/141/zz/1");
  EXPECT_EQ(odd.kind, ActionRecord::Kind::SendKey);
  EXPECT_EQ(odd.key, (KeyCodePair{0x41, 0x00}));
  EXPECT_TRUE(odd.modifiers[Modifier::LCtrl]);
  EXPECT_FALSE(odd.modifiers[Modifier::RWin]);
  EXPECT_EQ(ParseActionRecord(""), ActionRecord{});
}

TEST(SharedDefinitions, SettingNamesFollowTheBlock) {
  const auto fields = HookSettingFields();
  ASSERT_EQ(fields.size(), 21u);
  HookSettings block{};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    block.*(fields[i].member) = static_cast<std::int32_t>(i + 1);
  }
  const auto* raw = reinterpret_cast<const std::int32_t*>(&block);
  for (std::size_t i = 0; i < fields.size(); ++i)
    EXPECT_EQ(raw[i], static_cast<std::int32_t>(i + 1));
  EXPECT_EQ(fields.front().name, "Lock_Monitor");
  EXPECT_EQ(fields.back().name, "CtrlWheelUnit");
  ASSERT_NE(FindHookSetting("ctrlwheelunit"), nullptr);
  EXPECT_EQ(FindHookSetting("ctrlwheelunit")->member, &HookSettings::CtrlWheelUnit);
  EXPECT_EQ(FindHookSetting("Lock_Nothing"), nullptr);
}

TEST(SharedDefinitions, KeyNameTableNamesEveryPairOnce) {
  const auto table = KeyNameTable();
  ASSERT_EQ(table.size(), 112u);
  std::set<std::string> pairs;
  std::set<std::string_view> names;
  for (const KeyName& entry : table) {
    pairs.insert(FormatKeyCodePair(entry.pair));
    names.insert(entry.name);
  }
  EXPECT_EQ(pairs.size(), 112u);
  EXPECT_EQ(names.size(), 112u);
  EXPECT_EQ(KeyByName("numlock"), (KeyCodePair{0x90, 0x45}));
  EXPECT_EQ(KeyByName("RALT"), (KeyCodePair{0x15, 0x38}));
  EXPECT_EQ(KeyByName("RCONTROL"), (KeyCodePair{0x19, 0x1D}));
  EXPECT_EQ(KeyByName(""), std::nullopt);
  EXPECT_EQ(NameOfKey({0x23, 0x4F}), "END");
  EXPECT_EQ(NameOfKey({0x00, 0x00}), "");
  EXPECT_EQ(NameOfKey({0xE5, 0x1E}), std::nullopt);
}

}  // namespace
