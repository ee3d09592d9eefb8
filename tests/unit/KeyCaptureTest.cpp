#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editors/CKeyChangeDlg.h"
#include "editors/KeyNaming.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr std::uint32_t kKeyDown = 0x100;
constexpr std::uint32_t kKeyUp = 0x101;
constexpr std::uint32_t kSysKeyDown = 0x104;
constexpr std::uint32_t kSysKeyUp = 0x105;
constexpr int kFrom = CKeyChangeDlg::kFrom;
constexpr int kTo = CKeyChangeDlg::kTo;

TEST(FormatKeyName, NamesModifiersInTheirShownOrderThenTheKey) {
  EXPECT_EQ(FormatKeyName(0x41, 0x1E), "A");
  EXPECT_EQ(FormatKeyName(0x41, 0x1E, 1, 0, 0, 0, 0, 0, 1, 0), "LCtrl+RShift+A");
  EXPECT_EQ(FormatKeyName(0x41, 0x1E, 1, 1, 1, 1, 1, 1, 1, 1),
            "LCtrl+RCtrl+LAlt+RAlt+LShift+RShift+LWin+RWin+A");
  EXPECT_EQ(FormatKeyName(0, 0), "");
  EXPECT_EQ(FormatKeyName(0, 0, 0, 1, 0, 1), "LAlt+LWin");  // no "+" without a key
  EXPECT_EQ(FormatKeyName(0x23, 0x4F), "END");
  EXPECT_EQ(FormatKeyName(0xE5, 0x1E), "[e5/1e]");
  EXPECT_EQ(FormatKeyName(0xE5, 0x1E, 1), "[LCtrl+e5/1e]");
  EXPECT_EQ(FormatKeyName(0x00, 0x10), "LBUTTON");
  EXPECT_EQ(FormatKeyName(0x00, 0x13), "[00/13]");
  EXPECT_EQ(FormatKeyName(0x90, 0x45), "NumLock");
  EXPECT_EQ(FormatKeyName(0x15, 0x38), "RALT");
  EXPECT_EQ(FormatKeyName(0x19, 0x1D), "RCONTROL");
  // A flag is any nonzero byte.
  EXPECT_EQ(FormatKeyName(0x42, 0x30, 0, 0, 0, 0, 0xFF), "RCtrl+B");
}

TEST(NormalizeCapturedKey, GenericModifiersBecomeTheLeftOrRightKeyByScanCode) {
  const struct {
    std::uint8_t in, scan, out;
  } cases[] = {
      {0x10, 0x2A, 0xA0},
      {0x10, 0x36, 0xA1},
      {0x11, 0x1D, 0xA2},
      {0x12, 0x38, 0xA4},
      // Anything else stays: another scan code, the sided codes, plain keys.
      {0x10, 0x1D, 0x10},
      {0x11, 0x38, 0x11},
      {0xA1, 0x36, 0xA1},
      {0x41, 0x1E, 0x41},
  };
  for (const auto& c : cases) {
    std::uint8_t virtualKey = c.in;
    NormalizeCapturedKey(virtualKey, c.scan);
    EXPECT_EQ(virtualKey, c.out) << std::hex << int(c.in) << "/" << int(c.scan);
  }
}

class KeyFieldTest : public ::testing::Test {
 protected:
  // Press and release in the focused field, then what the dialog posted to itself.
  static void Tap(SimDialogHost& host, int field, std::uint8_t virtualKey, std::uint8_t scanCode,
                  bool system = false) {
    host.PressKey(system ? kSysKeyDown : kKeyDown, virtualKey, scanCode, field);
    host.PressKey(system ? kSysKeyUp : kKeyUp, virtualKey, scanCode, field);
    host.Pump();
  }
  // Runs the editor; `user` acts while it is open and leaves it open or not.
  int RunEditor(CKeyChangeDlg& editor, const std::function<void(SimDialogHost&)>& user) {
    runner_.When(CKeyChangeDlg::kTemplateId, [&](SimDialogHost& host) {
      user(host);
      if (!host.Ended()) host.Click(dialog_message::kIdCancel);
    });
    return editor.DoModal();
  }

  FakeServices services_;
  const InstalledServices installedServices_{services_};
  SimDialogRunner runner_;
  const InstalledDialogRunner installedRunner_{runner_};
};

TEST_F(KeyFieldTest, EachFieldTakesTheKeysItDoesNotRefuse) {
  CKeyChangeDlg editor;
  RunEditor(editor, [&](SimDialogHost& host) {
    EXPECT_EQ(host.Text(kFrom), "");  // add mode starts empty
    Tap(host, kFrom, 0x10, 0x2A);
    EXPECT_EQ(host.Text(kFrom), "LSHIFT");
    Tap(host, kFrom, 0x10, 0x36);
    EXPECT_EQ(host.Text(kFrom), "RSHIFT");
    // The right Ctrl as the generic code with the extended bit: the left pair.
    host.PressKey(kKeyDown, 0x11, 0x1D, kFrom);
    host.Pump();
    EXPECT_EQ(host.Text(kFrom), "LCONTROL");
    // Alt combinations arrive as system keys and are taken like others.
    Tap(host, kFrom, 0x12, 0x38, true);
    EXPECT_EQ(host.Text(kFrom), "LALT");

    // From refuses the Hangul and Hanja keys and the composing code: they go on as usual.
    Tap(host, kFrom, 0x41, 0x1E);
    EXPECT_FALSE(host.PressKey(kKeyDown, 0x15, 0xF2, kFrom));
    EXPECT_FALSE(host.PressKey(kKeyDown, 0x19, 0xF1, kFrom));
    EXPECT_FALSE(host.PressKey(kKeyUp, 0xE5, 0x1E, kFrom));
    host.Pump();
    EXPECT_EQ(host.Text(kFrom), "A");
    EXPECT_EQ(editor.From(), (KeyCodePair{0x41, 0x1E}));

    // To takes them, except the composing code.
    Tap(host, kTo, 0x15, 0xF2);
    EXPECT_EQ(host.Text(kTo), "HANGUL");
    Tap(host, kTo, 0x19, 0xF1);
    EXPECT_EQ(host.Text(kTo), "HANJA");
    EXPECT_FALSE(host.PressKey(kKeyDown, 0xE5, 0x00, kTo));
    host.Pump();
    EXPECT_EQ(host.Text(kTo), "HANJA");
    EXPECT_EQ(host.Text(kFrom), "A");  // a field's key never reaches the other

    // Keys pressed elsewhere in the dialog are the dialog's.
    EXPECT_FALSE(host.PressKey(kKeyDown, 0x42, 0x30, dialog_message::kIdOk));
    EXPECT_FALSE(host.PressKey(kKeyDown, 0x42, 0x30, 0));
    host.Pump();
    EXPECT_EQ(host.Text(kFrom), "A");
    EXPECT_EQ(host.Text(kTo), "HANJA");
  });
}

TEST_F(KeyFieldTest, TheLastKeyEventWinsAndTheFieldNamedByTheMessageTakesIt) {
  CKeyChangeDlg editor;
  RunEditor(editor, [&](SimDialogHost& host) {
    // Shift, then A; A released, then Shift: Shift was the last event.
    host.PressKey(kKeyDown, 0x10, 0x2A, kFrom);
    host.PressKey(kKeyDown, 0x41, 0x1E, kFrom);
    host.PressKey(kKeyUp, 0x41, 0x1E, kFrom);
    host.PressKey(kKeyUp, 0x10, 0x2A, kFrom);
    host.Pump();
    EXPECT_EQ(host.Text(kFrom), "LSHIFT");
    // A key caught in From whose capture is handled after the focus moved still goes to From.
    host.PressKey(kKeyDown, 0x43, 0x2E, kFrom);
    host.SetFocus(kTo);
    host.Pump();
    EXPECT_EQ(host.Text(kFrom), "C");
    EXPECT_EQ(host.Text(kTo), "");
    // A capture message naming no field changes nothing.
    host.Send(WM_KEY_CAPTURED, 0x1234, 0x1E0041);
    EXPECT_EQ(host.Text(kFrom), "C");
    // An unnamed pair shows bracketed and is kept as it came.
    Tap(host, kTo, 0x07, 0x7E);
    EXPECT_EQ(host.Text(kTo), "[07/7e]");
    EXPECT_EQ(editor.To(), (KeyCodePair{0x07, 0x7E}));
  });
}

TEST_F(KeyFieldTest, MouseButtonsSetOnlyTheToKey) {
  CKeyChangeDlg editor;
  const int result = RunEditor(editor, [&](SimDialogHost& host) {
    host.Click(CKeyChangeDlg::kLeftButton);
    EXPECT_EQ(host.Text(kTo), "LBUTTON");
    host.Click(CKeyChangeDlg::kRightButton);
    EXPECT_EQ(host.Text(kTo), "RBUTTON");
    host.Click(CKeyChangeDlg::kMiddleButton);
    EXPECT_EQ(host.Text(kTo), "MBUTTON");
    EXPECT_EQ(host.Text(kFrom), "");
    Tap(host, kFrom, 0x41, 0x1E);
    host.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(result, dialog_message::kIdOk);
  EXPECT_EQ(editor.From(), (KeyCodePair{0x41, 0x1E}));
  EXPECT_EQ(editor.To(), (KeyCodePair{0x00, 0x11}));
}

TEST_F(KeyFieldTest, OkWantsBothKeysAndSaysWhichIsMissing) {
  CKeyChangeDlg editor;
  services_.AnswerNextMessageBox(message_box::kIdOk, 2);
  const int result = RunEditor(editor, [&](SimDialogHost& host) {
    host.Click(dialog_message::kIdOk);
    EXPECT_FALSE(host.Ended());
    Tap(host, kFrom, 0x41, 0x1E);
    host.Click(dialog_message::kIdOk);
    EXPECT_FALSE(host.Ended());
    Tap(host, kTo, 0x42, 0x30);
    host.Click(dialog_message::kIdOk);
  });
  EXPECT_EQ(result, dialog_message::kIdOk);
  const auto& shown = services_.MessageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "누를 키를 입력해야 합니다.");
  EXPECT_EQ(shown[1].text, "설정될 키를 입력해야 합니다.");
  for (const auto& box : shown) {
    EXPECT_EQ(box.caption, "Tastron");
    EXPECT_EQ(box.type, message_box::kOk | message_box::kIconInformation);
    EXPECT_NE(box.owner, 0u);  // the editor's window
  }
}

TEST_F(KeyFieldTest, EditModeShowsTheEntrysPairsByTheirNamesNow) {
  CKeyChangeDlg editor;
  KeyChangeEntry entry = MakeKeyChangeEntry({0x14, 0x3A}, {0x00, 0x12});
  entry.FromName = "stale";  // names are computed again, not taken over
  editor.SetEntry(entry);
  RunEditor(editor, [&](SimDialogHost& host) {
    EXPECT_EQ(host.Text(kFrom), "CAPSLOCK");
    EXPECT_EQ(host.Text(kTo), "RBUTTON");
    host.Click(dialog_message::kIdOk);  // unchanged fields are fine
  });
  EXPECT_EQ(editor.From(), (KeyCodePair{0x14, 0x3A}));
  EXPECT_EQ(editor.To(), (KeyCodePair{0x00, 0x12}));
}

}  // namespace
