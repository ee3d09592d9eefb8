#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "editors/CFileDropButton.h"
#include "editors/KeyCapture.h"
#include "editors/ProgramChoice.h"
#include "ui/CPathEdit.h"
#include "ui/CResizeDlg.h"

// "마우스 맵 추가": the middle-button rule, for all programs or for the program chosen at the
// top. The user picks the modifier keys to hold with the middle button and what the
// combination does: send a key (picked by pressing it in the key box) with modifiers, run a
// program with a parameter, or nothing ("설정하지 않음": for all programs that removes the rule;
// for one program it means no action in that program). A program may also go back to the rule
// for all programs ("모든 프로그램 규칙 따르기"), which removes its section. Each program's
// choice is kept while the user switches between them; OK writes the section for all programs
// and every changed program's section in one step. The drop-down lists the programs whose
// section holds a rule (a `Mapped` line).
class CMouseMapDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 134;
  static constexpr int kProgramChoice = ProgramChoice::kCombo;
  static constexpr int kKeyBox = 1025;
  static constexpr int kKeyAction = 1046;
  static constexpr int kProgramAction = 1047;
  static constexpr int kNotSet = 1061;
  // Only for one program: its section goes, and the rule for all programs applies there.
  static constexpr int kFollowAll = 1099;
  static constexpr int kProgram = 1058;
  static constexpr int kBrowse = 1057;
  static constexpr int kParameter = 1059;
  static constexpr int kDropButton = 1002;
  // Left Ctrl, Alt, Shift, then right Ctrl, Alt, Shift: no Windows keys go with the button.
  static constexpr std::array<int, 6> kCompanionBoxes = {1027, 1028, 1030, 1034, 1038, 1044};
  // In the rule file's modifier order: left Ctrl, Alt, Shift, Win, right Ctrl, Alt, Shift, Win.
  static constexpr std::array<int, 8> kActionModifierBoxes = {1040, 1041, 1042, 1036,
                                                              1050, 1052, 1054, 1056};
  static constexpr const char* kSection = "MouseMap2";
  static constexpr const char* kInvalidProgram = "지정 프로그램이 유효하지 않습니다.";
  static constexpr const char* kNoKey = "실행될 단축키를 입력해야 합니다.";

  enum class Kind { SendKey = 0, RunProgram = 1, NotSet = 2 };

  explicit CMouseMapDlg(std::string ruleFile);

  bool PreTranslateMessage(const LoopMessage& message) override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  // One program's rule as the boxes show it. No kind: a program's section without a `Mapped`
  // of its own, where the rule for all programs applies.
  struct Rule {
    std::optional<Kind> kind;
    std::array<bool, 6> companions{};
    KeyCodePair key;
    std::string keyText;
    std::array<bool, 8> actionModifiers{};
    std::string program;
    std::string parameter;
    bool operator==(const Rule&) const = default;
  };
  struct Page {
    std::string program;  // "" for all programs
    Rule loaded;
    Rule shown;  // kept while another page is shown
  };

  void SetKind(std::optional<Kind> kind);
  Rule Load(const std::string& program) const;
  void ShowRule(const Rule& rule);
  Rule ShownRule();
  void ShowPage(const std::string& program);
  // The section's lines for the page's rule, or what to tell the user when the rule is
  // incomplete.
  std::vector<std::string> LinesOf(const Page& page, const char*& invalid) const;
  void Browse();
  void TakeDrop();

  std::string ruleFile_;
  KeyCapture capture_;
  CPathEdit program_;
  CFileDropButton dropButton_;
  ProgramChoice programs_;
  std::vector<Page> pages_;
  std::size_t shown_ = 0;
};
