#pragma once

#include "editors/KeyCapture.h"
#include "editors/KeyChangeEntry.h"
#include "ui/CResizeDlg.h"

// "키보드 맵핑 설정": one remapping. The user clicks the From field and presses the key to be
// changed, then the To field and the key to be produced, or picks a mouse button for To.
// From takes neither the Hangul nor the Hanja key (the note under it says so); To takes both.
// For a program's own rules, "원래 키" lets the key stay itself in that program. "길게 누르면"
// makes To what a tap gives and asks for the key a hold gives, or a mouse button picked under
// it, and the time that makes a hold.
class CKeyChangeDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 135;
  static constexpr int kFrom = 1023;
  static constexpr int kTo = 1025;
  static constexpr int kLeftButton = 1002;
  static constexpr int kMiddleButton = 1003;
  static constexpr int kRightButton = 1004;
  static constexpr int kOriginalKey = 1094;
  static constexpr int kHoldBox = 1096;
  static constexpr int kHold = 1097;
  static constexpr int kHoldTime = 1098;
  static constexpr int kHoldLeftButton = 1100;
  static constexpr int kHoldMiddleButton = 1101;
  static constexpr int kHoldRightButton = 1102;
  static constexpr const char* kNoFromKey = "누를 키를 입력해야 합니다.";
  static constexpr const char* kNoToKey = "설정될 키를 입력해야 합니다.";
  static constexpr const char* kNoHoldKey = "길게 누를 때 설정될 키를 입력해야 합니다.";
  static constexpr const char* kBadHoldTime =
      "길게 누르는 시간은 50에서 1000 ms 사이로 입력해야 합니다.";

  CKeyChangeDlg();

  // Opens the editor on an existing remapping.
  void SetEntry(const KeyChangeEntry& entry);
  // The remapping is one program's own: "원래 키" is offered.
  void SetForProgram(bool forProgram) { forProgram_ = forProgram; }
  // The pairs the fields hold; read them after OK.
  KeyCodePair From() const { return capture_.Pair(kFrom); }
  KeyCodePair To() const { return capture_.Pair(kTo); }
  // The key stays itself: To is meaningless.
  bool KeepsOriginal() const { return keepsOriginal_; }
  // "길게 누르면" was checked: Hold and HoldMs count.
  bool TapHold() const { return tapHold_; }
  KeyCodePair Hold() const { return capture_.Pair(kHold); }
  int HoldMs() const { return holdMs_; }

  bool PreTranslateMessage(const LoopMessage& message) override;

 protected:
  bool OnInitDialog() override;
  // Both fields must show a key, and with "길게 누르면" the hold field too, with a time in range.
  void OnOK() override;

 private:
  void KeepOriginal();
  // The three buttons put left, middle and right mouse button into the field.
  void OfferButtons(int field, const int (&buttons)[3]);
  // The hold key, its buttons and the time take input exactly while "길게 누르면" is checked.
  void EnableHold();
  // The message that refuses the fields as they stand, or nullptr; holdMs_ is read on the way.
  const char* Refusal();

  bool editMode_ = false;
  bool forProgram_ = false;
  bool keepsOriginal_ = false;
  bool tapHold_ = false;
  int holdMs_ = kDefaultHoldMs;
  KeyChangeEntry entry_;
  KeyCapture capture_;
};
