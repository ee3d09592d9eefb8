// Program names as the library and the editors compare them, on the three code pages: a
// section's name in the code page's bytes against a running program's file name.
#include <gtest/gtest.h>

#include <string>

#include "common/ProgramNames.h"
#include "sim/SimProgramNameText.h"

namespace {

struct NameCase {
  SimCodePage codePage;
  const char* section;  // the program part of a section's name
  const char* program;  // the running program's file name (UTF-8 here, UTF-16 when compared)
  bool same;
};

// Whether a rule section written as `section` is the program's, as the library decides it.
bool SectionIsPrograms(const SimProgramNameText& names, const NameCase& row) {
  const auto sectionKey = ProgramNameKeyOfAnsi(names, row.section);
  const auto program = Utf16FromUtf8(row.program);
  return sectionKey && program && *sectionKey == ProgramNameKey(names, *program);
}

constexpr SimCodePage kWestern = SimCodePage::Western;
constexpr SimCodePage kKorean = SimCodePage::Korean;
constexpr SimCodePage kUtf8 = SimCodePage::Utf8;

constexpr NameCase kNameCases[] = {
    {kWestern, "Editor.EXE", "editor.exe", true},
    {kWestern, "ÉDITEUR.EXE", "éditeur.exe", true},
    {kWestern, "ŒUVRE.exe", "œuvre.exe", true},       // 1252's own letters beyond Latin-1
    {kWestern, "ÿ.exe", "Ÿ.exe", true},               // a pair that 1252 splits across its halves
    {kWestern, "EDITEUR.exe", "éditeur.exe", false},  // an accent is no letter case
    {kWestern, "STRASSE.exe", "straße.exe", false},   // one code unit for one
    {kWestern, "메모.exe", "메모.exe", false},        // not a name 1252 could have written
    {kWestern, "ΔΈΛΤΑ.exe", "δέλτα.exe", false},
    {kKorean, "메모.EXE", "메모.exe", true},
    {kKorean, "메모장.exe", "메모.exe", false},
    {kKorean, "ÉDITEUR.EXE", "éditeur.exe", false},  // 949 holds no Latin-1 letters
    {kUtf8, "ÉDITEUR.EXE", "éditeur.exe", true},
    {kUtf8, "ΔΈΛΤΑ.EXE", "δέλτα.exe", true},
    {kUtf8, "ΣΟΦΊΑΣ.exe", "σοφίας.exe", true},  // the final sigma is a sigma
    {kUtf8, "ПРОВОДНИК.EXE", "проводник.exe", true},
    {kUtf8, "메모.exe", "메모.EXE", true},
    {kUtf8, "ＡＢＣ.exe", "ａｂｃ.exe", true},       // full-width letters have cases too
    {kUtf8, "\xC3\x28.exe", "\xC3\x28.exe", false},  // bytes that are no UTF-8 name nothing
};

TEST(ProgramNamesTest, ASectionIsAProgramsWhenTheCodePageHoldsItsNameAndOnlyCaseDiffers) {
  for (const NameCase& row : kNameCases) {
    SimProgramNameText names;
    names.SetCodePage(row.codePage);
    EXPECT_EQ(SectionIsPrograms(names, row), row.same)
        << "code page " << static_cast<int>(row.codePage) << ": [" << row.section << "] for "
        << row.program;
  }
}

// UTF-8 as the portable code keeps it: only well-formed text is a name.
TEST(ProgramNamesTest, OnlyWellFormedUtf8BecomesUtf16) {
  EXPECT_EQ(Utf16FromUtf8("a\xC3\xA9\xEB\xA9\x94\xF0\x9F\x98\x80"),
            (std::u16string{u'a', 0xE9, 0xBA54, 0xD83D, 0xDE00}));
  for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xE9\xA9", "\x80", "\xFF"}) {
    EXPECT_FALSE(Utf16FromUtf8(bad).has_value()) << bad;
  }
}

}  // namespace
