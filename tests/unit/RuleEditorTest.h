#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "editors/CRuleListDlg.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "ui/CUtilityLib.h"

// What the rule editors' tests share: the simulated services and dialog runner, the user's rule
// file on them, and a user's keys and view of a list.
struct Key {
  std::uint8_t virtualKey;
  std::uint8_t scanCode;
};

class RuleEditorTest : public ::testing::Test {
 protected:
  static constexpr const char* kFolder = "C:\\Users\\tester\\AppData\\Roaming\\tastron";
  static constexpr const char* kRuleFile =
      "C:\\Users\\tester\\AppData\\Roaming\\tastron\\config.ini";

  void SetUp() override { CUtilityLib::CreateMultiFolder(kFolder, 1); }
  // The rule file's bytes, as written and as read back (line ends included).
  void WriteRuleFile(const std::string& text) {
    std::ofstream(services_.HostPath(kRuleFile), std::ios::binary) << text;
  }
  std::string RuleFile() {
    std::ostringstream text;
    text << std::ifstream(services_.HostPath(kRuleFile), std::ios::binary).rdbuf();
    return text.str();
  }
  // A program file at the Windows path `path`, in a folder made for it.
  void MakeProgram(const std::string& path) {
    CUtilityLib::CreateMultiFolder(path.substr(0, path.rfind('\\')), 1);
    std::ofstream(services_.HostPath(path)) << "MZ";
  }
  // Runs `Dialog` on the rule file; `user` acts while it is open; Cancel when the user left it
  // open.
  template <typename Dialog>
  int RunDialog(const std::function<void(SimDialogHost&)>& user) {
    runner_.When(Dialog::kTemplateId, [&](SimDialogHost& dialog) {
      user(dialog);
      if (!dialog.Ended()) dialog.Click(dialog_message::kIdCancel);
    });
    Dialog dialog(kRuleFile);
    return dialog.DoModal();
  }
  // The key pressed and released in key field `field`, and what the capture posted delivered.
  static void Press(SimDialogHost& editor, int field, Key key) {
    editor.PressKey(0x100, key.virtualKey, key.scanCode, field);
    editor.PressKey(0x101, key.virtualKey, key.scanCode, field);
    editor.Pump();
  }
  // Each row of a rule list as "first column > second column".
  static std::vector<std::string> Rows(SimDialogHost& dialog, int list = CRuleListDlg::kList) {
    std::vector<std::string> rows;
    for (int row = 0; row < dialog.ListRowCount(list); ++row) {
      rows.push_back(dialog.ListCell(list, row, 0) + " > " + dialog.ListCell(list, row, 1));
    }
    return rows;
  }

  FakeServices services_;
  const InstalledServices installedServices_{services_};
  SimDialogRunner runner_;
  const InstalledDialogRunner installedRunner_{runner_};
};
