#pragma once

#include "editors/KeyCapture.h"
#include "editors/KeyChangeEntry.h"
#include "ui/CResizeDlg.h"

// "키보드 맵핑 설정": one remapping. The user clicks the From field and presses the key to be
// changed, then the To field and the key to be produced, or picks a mouse button for To.
// From takes neither the Hangul nor the Hanja key (the note under it says so); To takes both.
// For a program's own rules, "원래 키" lets the key stay itself in that program.
class CKeyChangeDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 135;
  static constexpr int kFrom = 1023;
  static constexpr int kTo = 1025;
  static constexpr int kLeftButton = 1002;
  static constexpr int kMiddleButton = 1003;
  static constexpr int kRightButton = 1004;
  static constexpr int kOriginalKey = 1094;
  static constexpr const char* kNoFromKey = "누를 키를 입력해야 합니다.";
  static constexpr const char* kNoToKey = "설정될 키를 입력해야 합니다.";

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

  bool PreTranslateMessage(const LoopMessage& message) override;

 protected:
  bool OnInitDialog() override;
  // Both fields must show a key.
  void OnOK() override;

 private:
  void KeepOriginal();

  bool editMode_ = false;
  bool forProgram_ = false;
  bool keepsOriginal_ = false;
  KeyChangeEntry entry_;
  KeyCapture capture_;
};
