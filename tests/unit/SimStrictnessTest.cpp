#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "sim/DialogTemplates.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "ui/CResizeDlg.h"

namespace {

using enum ControlKind;

struct ScriptCase {
  const char* what;
  const char* script;
  std::map<int, DialogTemplate> dialogs;
};

const ScriptCase kScripts[] = {
    {"each statement's id where it stands, continued lines, names, comments",
     "#include <windows.h>\n"
     "#define IDC_NAME 1001\n"
     "// 5 DIALOGEX in a comment\n"
     "1 DIALOGEX 0, 0, 100, 100\n"
     "STYLE DS_SETFONT | WS_POPUP\n"
     "CAPTION \"a, \"\"b\"\" DIALOG\"\n"
     "BEGIN\n"
     "    LTEXT \"a, b\", -1, 1, 1, 1, 1\n"
     "    EDITTEXT IDC_NAME, 1, 1, 1, 1, ES_READONLY\n"
     "    CONTROL \"\", 0x3EA, \"Edit\", WS_BORDER |\n"
     "            WS_TABSTOP, 1, 1, 1, 1\n"
     "    CONTROL \"\", 1003, \"SysListView32\", LVS_REPORT, 1, 1, 1, 1\n"
     "    PUSHBUTTON \"[a] b\", 1004, 7, 238,\n"
     "                    241, 17, BS_MULTILINE | NOT WS_TABSTOP\n"
     "    /* AUTOCHECKBOX \"c\", 1099,\n"
     "       1, 1, 1, 1 */\n"
     "    COMBOBOX 1005, 1, 1, 1, 1, CBS_DROPDOWNLIST\n"
     "    ICON 128, 1006, 1, 1, 20, 20\n"
     "    GROUPBOX \"g\", 1007, 1, 1, 1, 1\n"
     "    CONTROL \"\", 1008, \"msctls_trackbar32\", 0, 1, 1, 1, 1\n"
     "    DEFPUSHBUTTON \"OK\", IDOK, 1, 1, 1, 1\n"
     "END\n",
     {{1,
       {{{1001, Edit},
         {1002, Edit},
         {1003, ListView},
         {1004, Button},
         {1005, ComboBox},
         {1006, Static},
         {1007, Other},
         {1008, Other},
         {1, Button}},
        {}}}}},
    {"a dialog's menu gives its items, those of pop-ups too",
     "7 MENU\n"
     "BEGIN\n"
     "    POPUP \"f\"\n"
     "    BEGIN\n"
     "        MENUITEM \"a\", 40001\n"
     "        MENUITEM SEPARATOR\n"
     "    END\n"
     "    MENUITEM \"b\", 40002\n"
     "END\n"
     "2 DIALOG 0, 0, 1, 1\n"
     "MENU 7\n"
     "BEGIN\n"
     "    PUSHBUTTON \"x\", IDCANCEL, 1, 1, 1, 1\n"
     "END\n"
     "3 DIALOGEX 0, 0, 1, 1\n"
     "BEGIN\n"
     "END\n",
     {{2, {{{2, Button}}, {40001, 40002}}}, {3, {}}}},
};

TEST(DialogTemplates, ReadsEachDialogsControlsAndMenu) {
  for (const ScriptCase& row : kScripts) {
    EXPECT_EQ(ReadDialogTemplates(row.script), row.dialogs) << row.what;
  }
}

// What the reader cannot take stops it, naming the line, rather than leaving a control out.
TEST(DialogTemplates, WhatItCannotReadStopsItWithTheLine) {
  const std::pair<const char*, const char*> kBad[] = {
      {"1 DIALOGEX 0, 0, 1, 1\nBEGIN\n    EDITTEXT IDC_NONE, 1, 1, 1, 1\nEND\n",
       "line 3: unknown id IDC_NONE"},
      {"1 DIALOGEX 0, 0, 1, 1\nBEGIN\n    SLIDER 5, 1, 1, 1, 1\nEND\n",
       "line 3: unknown control statement SLIDER"},
      {"1 DIALOGEX 0, 0, 1, 1\nBEGIN\n    LTEXT \"\", 5, 1, 1, 1, 1\n    CHECKBOX \"\", 5, 1, "
       "1, 1, 1\nEND\n",
       "line 4: control 5 twice in dialog 1"},
      {"1 DIALOGEX 0, 0, 1, 1\nBEGIN\n    LTEXT \"\", 5, 1, 1, 1, 1\n", "dialog 1 without END"},
      {"1 DIALOGEX 0, 0, 1, 1\nMENU 9\nBEGIN\nEND\n", "line 2: no menu 9"},
      {"#define IDC_X (1 + 2)\n", "line 1: #define IDC_X is no number"},
  };
  for (const auto& [script, message] : kBad) {
    try {
      ReadDialogTemplates(script);
      ADD_FAILURE() << "read: " << script;
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find(message), std::string::npos)
          << error.what() << "\nwanted: " << message;
    }
  }
}

TEST(DialogTemplates, TheProgramsScriptHasEveryDialog) {
  std::vector<int> ids;
  for (const auto& [id, dialog] : ProgramDialogTemplates()) ids.push_back(id);
  EXPECT_EQ(ids, (std::vector<int>{102, 129, 131, 133, 134, 135, 136, 138, 139}));
}

// A dialog of the tests' own template 900: an edit box 11 and a button 10, no OK or Cancel
// button (Enter and Escape still send them). `onInit` acts as it initialises.
class ProbeDlg : public CResizeDlg {
 public:
  static constexpr int kTemplateId = 900;
  explicit ProbeDlg(std::function<void(DialogHost&)> onInit = {})
      : CResizeDlg(kTemplateId, 0), onInit_(std::move(onInit)) {}

 protected:
  bool OnInitDialog() override {
    if (onInit_) onInit_(Host());
    return true;
  }

 private:
  std::function<void(DialogHost&)> onInit_;
};

// Fresh simulated Windows for one case; what it finds when it goes is part of the case.
struct Sandbox {
  Sandbox() { runner.UseTemplate(ProbeDlg::kTemplateId, {{10, Button}, {11, Edit}}); }
  // Runs the probe; `user` acts, then Escape closes it.
  int Run(const std::function<void(SimDialogHost&)>& user,
          std::function<void(DialogHost&)> onInit = {}) {
    runner.When(ProbeDlg::kTemplateId, [&](SimDialogHost& host) {
      user(host);
      if (!host.Ended()) host.Click(dialog_message::kIdCancel);
    });
    return ProbeDlg(std::move(onInit)).DoModal();
  }
  FakeServices services;
  SimDialogRunner runner;
  const InstalledDialogRunner installedRunner_{runner};
};

struct FaultCase {
  const char* fault;  // what the report must say
  std::function<void(Sandbox&)> commit;
};

const FaultCase kFaults[] = {
    {"Click(12): dialog 900 has no control 12",
     [](Sandbox& box) { box.Run([](SimDialogHost& host) { host.Click(12); }); }},
    {"PressKey(4): dialog 900 has no control 4",
     [](Sandbox& box) {
       box.Run([](SimDialogHost& host) { host.PressKey(0x100, 0x41, 0x1E, 4); });
     }},
    {"IsChecked(1): dialog 900 has no control 1",
     [](Sandbox& box) { box.Run([](SimDialogHost& host) { (void)host.IsChecked(1); }); }},
    {"ChooseMenuItem(5): dialog 900 has no menu item 5",
     [](Sandbox& box) { box.Run([](SimDialogHost& host) { host.ChooseMenuItem(5); }); }},
    {"SetText(8): dialog 900 has no control 8",
     [](Sandbox& box) {
       box.Run([](SimDialogHost&) {}, [](DialogHost& host) { host.SetText(8, "x"); });
     }},
    {"Enable(2): dialog 900 has no control 2",
     [](Sandbox& box) {
       box.Run([](SimDialogHost&) {}, [](DialogHost& host) { host.Enable(2, false); });
     }},
    {"ClickCheckBox(11): dialog 900's control 11 is no button",
     [](Sandbox& box) { box.Run([](SimDialogHost& host) { host.ClickCheckBox(11); }); }},
    {"ListInsertRow(10): dialog 900's control 10 is no list view",
     [](Sandbox& box) {
       box.Run([](SimDialogHost&) {}, [](DialogHost& host) { host.ListInsertRow(10, 0, "x"); });
     }},
    {"dialog 901 has no template",
     [](Sandbox&) {
       CDialog unknown(901, 0);
       EXPECT_EQ(unknown.DoModal(), -1);
     }},
    {"dialog 102 has its template in the resource script",
     [](Sandbox& box) { box.runner.UseTemplate(102, {}); }},
    {"1 interaction(s) with dialog 129 waited for it, but it did not open",
     [](Sandbox& box) { box.runner.When(129, [](SimDialogHost&) { ADD_FAILURE(); }); }},
    {"dialog 900 ended while it opened, before the interaction",
     [](Sandbox& box) {
       box.Run([](SimDialogHost&) { ADD_FAILURE(); }, [](DialogHost& host) { host.End(1); });
     }},
    {"controls of dialog 900 were placed, but it never ran",
     [](Sandbox& box) {
       box.runner.Place(ProbeDlg::kTemplateId, 10, {0, 0, 5, 5});
     }},
    {"a message box that no answer waited for: Tastron: 저장할까요?",
     [](Sandbox& box) { box.services.MessageBox(0, "저장할까요?", "Tastron", 0); }},
    {"a message box answer (6) that no box took",
     [](Sandbox& box) { box.services.AnswerNextMessageBox(message_box::kIdYes); }},
    {"a chooser that no answer waited for: folder 폴더 선택",
     [](Sandbox& box) { box.services.ChooseFolder(0, "폴더 선택"); }},
    {"a chooser answer (C:\\x.exe) that no chooser took",
     [](Sandbox& box) { box.services.AnswerNextChooser("C:\\x.exe"); }},
    {"a chooser answer (cancelled) that no chooser took",
     [](Sandbox& box) { box.services.AnswerNextChooser(std::nullopt); }},
};

// Each fault fails the test once, saying what it is; what Windows allows does not.
TEST(SimStrictness, EachFaultFailsTheTestWithWhatItIs) {
  for (const FaultCase& row : kFaults) {
    EXPECT_NONFATAL_FAILURE(
        {
          Sandbox box;
          row.commit(box);
        },
        row.fault);
  }
  Sandbox box;
  box.services.AnswerNextMessageBox(message_box::kIdOk);
  const int result = box.Run([&](SimDialogHost& host) {
    EXPECT_FALSE(host.PressKey(0x100, 0x41, 0x1E, 0));  // the dialog's own window has the focus
    host.Type(11, "x");
    EXPECT_EQ(box.services.MessageBox(host.Window(), "x", "Tastron", 0), message_box::kIdOk);
    host.Click(dialog_message::kIdOk);  // Enter: no OK button needed
  });
  EXPECT_EQ(result, dialog_message::kIdOk);
}

}  // namespace
