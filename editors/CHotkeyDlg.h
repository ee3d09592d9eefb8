#pragma once

#include <array>
#include <optional>
#include <string>

#include "editors/CFileDropButton.h"
#include "editors/HotkeyEntry.h"
#include "editors/KeyCapture.h"
#include "ui/CPathEdit.h"
#include "ui/CResizeDlg.h"

// "HOTKEY 설정": one hotkey rule. The user clicks the hotkey box and presses the key, ticks the
// modifiers that must be held, then picks what it does: send a key (clicked and pressed in the
// action key box, with its own modifiers) or run a program (typed, browsed for, dropped onto
// the big button as a program or a shortcut, or filled in by a built-in command), or pause and
// resume Tastron (the last built-in command). For a program's own rules it may also do nothing
// in that program ("이 프로그램에서는 사용 안 함").
class CHotkeyDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 133;
  static constexpr int kHotkeyBox = 1023;
  static constexpr int kActionKeyBox = 1025;
  static constexpr int kSendKeySwitch = 1046;
  static constexpr int kRunProgramSwitch = 1047;
  static constexpr int kDisabledSwitch = 1095;
  static constexpr int kProgramEdit = 1058;
  static constexpr int kParameterEdit = 1059;
  static constexpr int kBrowse = 1057;
  static constexpr int kDropButton = 1002;
  static constexpr int kCommandCombo = 1068;
  // The boxes of the eight modifiers, in the modifier order.
  static constexpr std::array<int, 8> kKeyModifierBoxes = {1027, 1028, 1030, 1031,
                                                           1034, 1038, 1044, 1048};
  static constexpr std::array<int, 8> kActionModifierBoxes = {1040, 1041, 1042, 1036,
                                                              1050, 1052, 1054, 1056};
  // Paths and parameters longer than this do not fit the library's fields; the boxes take no
  // more when typing (a longer text from the rule file is kept whole).
  static constexpr int kTextLimit = 259;
  static constexpr const char* kNoHotkey = "HOTKEY를 입력해야 합니다.";
  static constexpr const char* kBadProgram = "지정 프로그램이 올바르지 않습니다.";
  static constexpr const char* kNoActionKey = "실행될 키를 입력해야 합니다.";
  static constexpr const char* kBrowseTitle = "실행 파일 선택";
  static constexpr const char* kFolderTitle = "폴더 선택";

  CHotkeyDlg();

  // Opens the editor on an existing rule.
  void SetEntry(const HotkeyEntry& entry);
  // The rule is one program's own: "이 프로그램에서는 사용 안 함" is offered.
  void SetForProgram(bool forProgram) { forProgram_ = forProgram; }
  // The rule as the boxes hold it; read it after OK. Only the fields of the chosen action kind
  // are read from the boxes; the others keep what the entry had.
  const HotkeyEntry& Result() const { return result_; }

  bool PreTranslateMessage(const LoopMessage& message) override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  enum class ActionKind { SendKey, RunProgram, Disabled, PauseTastron };
  void SetActionKind(ActionKind kind);
  static int PauseCommandIndex();
  // A Windows key as the hotkey: its own Win flags are meaningless and every other modifier
  // is ignored by the rule, so the boxes are cleared of Win and disabled.
  void FollowHotkey(KeyCodePair key);
  void Browse();
  void TakeDrop();
  void RunCommand();
  void ShowProgram(const std::string& path, const std::string& parameter);
  void Tell(const char* text);

  ActionKind actionKind_ = ActionKind::SendKey;
  bool editMode_ = false;
  bool forProgram_ = false;
  HotkeyEntry entry_;
  HotkeyEntry result_;
  KeyCapture capture_;
  CPathEdit programEdit_;
  CFileDropButton dropButton_;
};
