#include "editors/CHotkeyDlg.h"

#include <vector>

#include "editors/BuiltInCommands.h"
#include "editors/KeyNaming.h"
#include "editors/StorableProgram.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kAppTitle = "Tastron";
constexpr const char* kProgramFilter = "실행 파일(*.exe)|*.exe|모든 파일(*.*)|*.*||";
constexpr KeyCodePair kLeftWin{0x5B, 0x5B};
constexpr KeyCodePair kRightWin{0x5C, 0x5C};
constexpr int kLeftWinBox = 1031;
constexpr int kRightWinBox = 1048;

bool IsWindowsKey(KeyCodePair key) {
  return key == kLeftWin || key == kRightWin;
}

// Modifiers alone make no hotkey and Caps Lock keeps its work; the Korean right Alt (Hangul,
// 15/38) and right Ctrl (Hanja, 19/1d) are modifiers here too.
std::vector<KeyCodePair> ModifierKeys() {
  return {{0xA0, 0x2A}, {0xA1, 0x36}, {0xA4, 0x38}, {0x15, 0x38},
          {0xA2, 0x1D}, {0x19, 0x1D}, {0x14, 0x3A}};
}

void ReadBoxes(DialogHost& host, const std::array<int, 8>& boxes, ModifierFlags& flags) {
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    flags[static_cast<Modifier>(i)] = host.IsChecked(boxes[i]);
  }
}

void ShowBoxes(DialogHost& host, const std::array<int, 8>& boxes, const ModifierFlags& flags) {
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    host.SetChecked(boxes[i], flags[static_cast<Modifier>(i)]);
  }
}

}  // namespace

CHotkeyDlg::CHotkeyDlg() : CResizeDlg(kTemplateId, 0) {
  capture_.AddField(kHotkeyBox, KeyRefusals{ModifierKeys()});
  std::vector<KeyCodePair> actionRefusals = ModifierKeys();
  actionRefusals.push_back(kLeftWin);
  actionRefusals.push_back(kRightWin);
  capture_.AddField(kActionKeyBox, KeyRefusals{actionRefusals});
  OnMessage(WM_KEY_CAPTURED, [this](std::uintptr_t wParam, std::intptr_t lParam) {
    capture_.OnCaptured(Host(), wParam, lParam);
    if (wParam == Host().ControlWindow(kHotkeyBox)) FollowHotkey(capture_.Pair(kHotkeyBox));
    return 0;
  });
  OnCommand(kSendKeySwitch, [this] { SetActionKind(ActionKind::SendKey); });
  OnCommand(kRunProgramSwitch, [this] { SetActionKind(ActionKind::RunProgram); });
  OnCommand(kDisabledSwitch, [this] { SetActionKind(ActionKind::Disabled); });
  OnCommand(kBrowse, [this] { Browse(); });
  OnCommand(kDropButton, [this] { TakeDrop(); });
  OnNotify(kCommandCombo, dialog_message::kComboSelectionDone, [this] { RunCommand(); });
}

void CHotkeyDlg::SetEntry(const HotkeyEntry& entry) {
  editMode_ = true;
  entry_ = entry;
}

bool CHotkeyDlg::PreTranslateMessage(const LoopMessage& message) {
  if (capture_.Filter(Host(), message)) return true;
  return CResizeDlg::PreTranslateMessage(message);
}

bool CHotkeyDlg::OnInitDialog() {
  programEdit_.Attach(Host(), kProgramEdit);
  dropButton_.Attach(Host(), kDropButton);
  Host().LimitText(kProgramEdit, kTextLimit);
  Host().LimitText(kParameterEdit, kTextLimit);
  Host().ShowControl(kDisabledSwitch, forProgram_);
  for (const BuiltInCommand& command : BuiltInCommands()) {
    Host().ComboAddItem(kCommandCombo, command.text);
  }
  Host().ComboSelect(kCommandCombo, 0);
  SetActionKind(ActionKind::SendKey);
  if (editMode_) {
    SetActionKind(forProgram_ && entry_.Disabled ? ActionKind::Disabled
                  : entry_.PausesTastron         ? ActionKind::PauseTastron
                  : entry_.RunsProgram           ? ActionKind::RunProgram
                                                 : ActionKind::SendKey);
    capture_.SetPair(Host(), kHotkeyBox, entry_.Key);
    ShowBoxes(Host(), kKeyModifierBoxes, entry_.KeyModifiers);
    capture_.SetPair(Host(), kActionKeyBox, entry_.ActionKey);
    ShowBoxes(Host(), kActionModifierBoxes, entry_.ActionModifiers);
    ShowProgram(entry_.ProgramPath, entry_.Parameter);
    FollowHotkey(entry_.Key);
  }
  return true;
}

void CHotkeyDlg::SetActionKind(ActionKind kind) {
  actionKind_ = kind;
  const bool sendsKey = kind == ActionKind::SendKey;
  const bool runsProgram = kind == ActionKind::RunProgram;
  Host().SetChecked(kSendKeySwitch, sendsKey);
  Host().SetChecked(kRunProgramSwitch, runsProgram);
  Host().SetChecked(kDisabledSwitch, kind == ActionKind::Disabled);
  Host().Enable(kActionKeyBox, sendsKey);
  for (int box : kActionModifierBoxes) Host().Enable(box, sendsKey);
  for (int id : {kProgramEdit, kBrowse, kParameterEdit}) Host().Enable(id, runsProgram);
  // The pause has no switch of its own: the combo keeps showing it while it is the action.
  Host().ComboSelect(kCommandCombo, kind == ActionKind::PauseTastron ? PauseCommandIndex() : 0);
}

int CHotkeyDlg::PauseCommandIndex() {
  const auto commands = BuiltInCommands();
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (commands[i].preset == kPauseTastronPreset) return static_cast<int>(i);
  }
  return 0;
}

void CHotkeyDlg::FollowHotkey(KeyCodePair key) {
  const bool windowsKey = IsWindowsKey(key);
  if (windowsKey) {
    Host().SetChecked(kLeftWinBox, false);
    Host().SetChecked(kRightWinBox, false);
  }
  for (int box : kKeyModifierBoxes) Host().Enable(box, !windowsKey);
}

void CHotkeyDlg::ShowProgram(const std::string& path, const std::string& parameter) {
  programEdit_.SetWindowTextA(path);
  Host().SetText(kParameterEdit, parameter);
}

void CHotkeyDlg::Browse() {
  std::string path;
  if (CUtilityLib::SelectFile(path, kBrowseTitle, kProgramFilter, Host().Window())) {
    programEdit_.SetWindowTextA(path);
  }
}

void CHotkeyDlg::TakeDrop() {
  if (!dropButton_.TakeDrop()) return;
  SetActionKind(ActionKind::RunProgram);
  ShowProgram(dropButton_.TargetPath(), dropButton_.Arguments());
}

void CHotkeyDlg::RunCommand() {
  const int selected = Host().ComboSelection(kCommandCombo);
  const auto commands = BuiltInCommands();
  if (selected < 0 || static_cast<std::size_t>(selected) >= commands.size()) return;
  const BuiltInCommand& command = commands[static_cast<std::size_t>(selected)];
  if (command.preset == kPauseTastronPreset) return SetActionKind(ActionKind::PauseTastron);
  if (command.preset != 0) {
    std::string parameter = command.parameter;
    if (command.preset != kFolderPreset ||
        CUtilityLib::SelectFolder(parameter, kFolderTitle, Host().Window())) {
      SetActionKind(ActionKind::RunProgram);
      ShowProgram(CUtilityLib::GetWindowsDirectoryA() + command.pathSuffix, parameter);
    }
  }
  // A heading, or a folder chooser cancelled, leaves the action as it was, the pause too.
  const bool pausing = actionKind_ == ActionKind::PauseTastron;
  if (selected != 0) Host().ComboSelect(kCommandCombo, pausing ? PauseCommandIndex() : 0);
}

void CHotkeyDlg::Tell(const char* text) {
  CUtilityLib::Get().MessageBox(Host().Window(), text, kAppTitle,
                                message_box::kOk | message_box::kIconInformation);
}

// Checked in the order the boxes stand; a failure leaves every box as it was.
void CHotkeyDlg::OnOK() {
  if (Host().Text(kHotkeyBox).empty()) return Tell(kNoHotkey);
  HotkeyEntry result = entry_;
  result.Key = capture_.Pair(kHotkeyBox);
  ReadBoxes(Host(), kKeyModifierBoxes, result.KeyModifiers);
  result.KeyText = HotkeyName(result.Key, result.KeyModifiers);
  result.RunsProgram = actionKind_ == ActionKind::RunProgram;
  result.Disabled = forProgram_ && actionKind_ == ActionKind::Disabled;
  result.PausesTastron = actionKind_ == ActionKind::PauseTastron;
  if (result.Disabled || result.PausesTastron) {
    result.RunsProgram = false;
  } else if (result.RunsProgram) {
    const StorableProgram program =
        MakeStorable(programEdit_.GetWindowTextA(), Host().Text(kParameterEdit), kBadProgram);
    if (program.problem != nullptr) return Tell(program.problem);
    result.ProgramPath = program.path;
    result.Parameter = program.parameter;
  } else {
    ReadBoxes(Host(), kActionModifierBoxes, result.ActionModifiers);
    if (Host().Text(kActionKeyBox).empty()) return Tell(kNoActionKey);
    result.ActionKey = capture_.Pair(kActionKeyBox);
    result.ActionKeyText = HotkeyName(result.ActionKey, result.ActionModifiers);
  }
  result_ = std::move(result);
  CResizeDlg::OnOK();
}
