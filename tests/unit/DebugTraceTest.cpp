#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "app/DebugTrace.h"
#include "ui/WindowsFormat.h"

namespace {

std::string Format(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::string text = FormatWindowsStyle(format, arguments);
  va_end(arguments);
  return text;
}

std::string Line(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::string text = FormatDebugTraceLine("Tastron.exe", 0x1A2B, 0xC3, format, arguments);
  va_end(arguments);
  return text;
}

TEST(WindowsFormat, FollowsTheWvsprintfRules) {
  EXPECT_EQ(Format("CVelloranDlg::OnTimer(%d)", 1002), "CVelloranDlg::OnTimer(1002)");
  EXPECT_EQ(Format("[%5d|%-5d|%05d|%.3d]", 42, 42, -42, 7), "[   42|42   |-0042|007]");
  EXPECT_EQ(Format("%x %X %#x %08X %u", 255u, 255u, 255u, 0xBEEFu, 4000000000u),
            "ff FF 0xff 0000BEEF 4000000000");
  EXPECT_EQ(Format("%lu %ld %li", 7ul, -7l, 8l), "7 -7 8");
  EXPECT_EQ(Format("%s|%.2s|%-4s|%4s|%c%%", "abc", "abc", "ab", "ab", 'z'), "abc|ab|ab  |  ab|z%");
  EXPECT_EQ(Format("%S %ls", L"wide", L"text"), "wide text");
  EXPECT_EQ(Format("%d", -2147483647 - 1), "-2147483648");
  // What wvsprintfA does not know stands as written.
  EXPECT_EQ(Format("%f %p %q end", 1), "%f %p %q end");
  EXPECT_EQ(Format("trailing %"), "trailing %");
  // The output holds at most 1024 characters.
  EXPECT_EQ(Format("%s", std::string(3000, 'x').c_str()).size(), 1024u);
}

TEST(DebugTrace, LinesCarryTheProgramAndThreadAndEndOnce) {
  EXPECT_EQ(Line("OnTimer Activate"),
            "Tastron.exeTastron.exe>00001A2B:000000C3::OnTimer Activate\n");
  EXPECT_EQ(Line("a\r\nb\nc%s", "\r"), "Tastron.exeTastron.exe>00001A2B:000000C3::a ,b,c \n");
  const std::string longest = Line("%s%s%s", std::string(1000, 'a').c_str(),
                                   std::string(1000, 'b').c_str(), std::string(1000, 'c').c_str());
  // The message is cut by the formatting (1024 characters), the line by its 2048-byte buffer.
  EXPECT_EQ(longest.size(), 42u + 1024u + 1u);
  EXPECT_EQ(longest.back(), '\n');
}

}  // namespace
