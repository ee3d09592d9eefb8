#include "editors/CMouseMapDlg.h"

#include <cstdio>
#include <utility>

#include "common/RuleRecord.h"
#include "editors/KeyNaming.h"
#include "editors/RuleFileWrite.h"
#include "editors/StorableProgram.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kAppTitle = "Tastron";
constexpr const char* kBrowseTitle = "실행 파일 선택";
constexpr const char* kBrowseFilter = "실행 파일(*.exe)|*.exe|모든 파일(*.*)|*.*||";
constexpr std::size_t kCompanionFields = 6;
constexpr std::size_t kMappedFields = 11;
// Typing stops here, in characters, as in the hotkey editor; a longer text from the rule file
// is kept whole.
constexpr int kTextLimit = 259;

// The key box takes neither the modifier keys (they are the boxes' job), nor the Windows and
// application keys, nor Caps Lock and the Korean keys, which keep their ordinary effect.
const KeyRefusals kKeyBoxRefusals{{{0x5D, 0x5D},
                                   {0xA0, 0x2A},
                                   {0xA1, 0x36},
                                   {0x5B, 0x5B},
                                   {0x5C, 0x5C},
                                   {0xA4, 0x38},
                                   {0x15, 0x38},
                                   {0xA2, 0x1D},
                                   {0x19, 0x1D},
                                   {0x14, 0x3A}}};

// A value however long: a long program path with its parameter can pass any fixed buffer, and
// a cut record would run a different program.
std::string ReadWholeValue(const std::string& file, const char* section, const char* key) {
  Profile& profiles = CUtilityLib::Get().Profiles();
  constexpr std::size_t kLargestValue = std::size_t{1} << 20;
  for (std::size_t size = 256;; size *= 2) {
    std::string value = profiles.GetString(file, section, key, "", size);
    if (value.size() + 1 < size || size >= kLargestValue) return value;
  }
}

std::vector<std::string> FieldsPaddedTo(const std::string& record, std::size_t count) {
  std::vector<std::string> fields = SplitRecord(record);
  if (fields.size() < count) fields.resize(count);
  return fields;
}

}  // namespace

CMouseMapDlg::CMouseMapDlg(std::string ruleFile)
    : CResizeDlg(kTemplateId, 0), ruleFile_(std::move(ruleFile)) {
  capture_.AddField(kKeyBox, kKeyBoxRefusals);
  OnCommand(kKeyAction, [this] { SetKind(Kind::SendKey); });
  OnCommand(kProgramAction, [this] { SetKind(Kind::RunProgram); });
  OnCommand(kNotSet, [this] { SetKind(Kind::NotSet); });
  OnCommand(kBrowse, [this] { Browse(); });
  OnCommand(kDropButton, [this] { TakeDrop(); });
  OnMessage(WM_KEY_CAPTURED, [this](std::uintptr_t wParam, std::intptr_t lParam) {
    return capture_.OnCaptured(Host(), wParam, lParam);
  });
}

bool CMouseMapDlg::PreTranslateMessage(const LoopMessage& message) {
  if (capture_.Filter(Host(), message)) return true;
  return CResizeDlg::PreTranslateMessage(message);
}

bool CMouseMapDlg::OnInitDialog() {
  program_.Attach(Host(), kProgram);
  dropButton_.Attach(Host(), kDropButton);
  Host().LimitText(kProgram, kTextLimit);
  Host().LimitText(kParameter, kTextLimit);
  SetKind(Kind::NotSet);
  Load();
  return true;
}

// The three switches act as one choice; each kind enables only its own controls.
void CMouseMapDlg::SetKind(Kind kind) {
  Host().SetChecked(kKeyAction, kind == Kind::SendKey);
  Host().SetChecked(kProgramAction, kind == Kind::RunProgram);
  Host().SetChecked(kNotSet, kind == Kind::NotSet);
  Host().Enable(kKeyBox, kind == Kind::SendKey);
  for (int id : kActionModifierBoxes) Host().Enable(id, kind == Kind::SendKey);
  for (int id : {kProgram, kBrowse, kParameter}) Host().Enable(id, kind == Kind::RunProgram);
}

// A companion field other than 0 or 1 (written by hand) checks its box, as the library holds
// any nonzero flag as set.
void CMouseMapDlg::Load() {
  const std::string companions = ReadWholeValue(ruleFile_, kSection, "KeyState");
  if (!companions.empty()) {
    const std::vector<std::string> fields = FieldsPaddedTo(companions, kCompanionFields);
    for (std::size_t i = 0; i < kCompanionBoxes.size(); ++i) {
      Host().SetChecked(kCompanionBoxes[i], ReadFlagField(fields[i]));
    }
  }
  const std::string mapped = ReadWholeValue(ruleFile_, kSection, "Mapped");
  if (mapped.empty()) return;
  const std::vector<std::string> fields = FieldsPaddedTo(mapped, kMappedFields);
  if (ReadFlagField(fields[0])) {
    SetKind(Kind::RunProgram);
    program_.SetWindowTextA(fields[1]);
    Host().SetText(kParameter, UnescapeParameter(fields[2]));
    return;
  }
  SetKind(Kind::SendKey);
  const KeyCodePair pair{static_cast<std::uint8_t>(ReadHexField(fields[1])),
                         static_cast<std::uint8_t>(ReadHexField(fields[2]))};
  capture_.SetPair(Host(), kKeyBox, pair);
  for (std::size_t i = 0; i < kActionModifierBoxes.size(); ++i) {
    Host().SetChecked(kActionModifierBoxes[i], ReadFlagField(fields[3 + i]));
  }
}

void CMouseMapDlg::Browse() {
  std::string path;
  if (CUtilityLib::SelectFile(path, kBrowseTitle, kBrowseFilter, Host().Window())) {
    program_.SetWindowTextA(path);
  }
}

// A program or shortcut dragged onto the big button: run that program, with the shortcut's
// arguments as the parameter.
void CMouseMapDlg::TakeDrop() {
  if (!dropButton_.TakeDrop()) return;
  SetKind(Kind::RunProgram);
  program_.SetWindowTextA(dropButton_.TargetPath());
  Host().SetText(kParameter, dropButton_.Arguments());
}

void CMouseMapDlg::OnOK() {
  const bool notSet = Host().IsChecked(kNotSet);
  std::string companions;
  std::string mapped;
  if (!notSet) {
    for (int id : kCompanionBoxes) {
      companions += companions.empty() ? "" : "/";
      companions += Host().IsChecked(id) ? "1" : "0";
    }
    const char* invalid = nullptr;
    if (Host().IsChecked(kProgramAction)) {
      const StorableProgram program =
          MakeStorable(program_.GetWindowTextA(), Host().Text(kParameter), kInvalidProgram);
      invalid = program.problem;
      mapped = "1/" + program.path + "/" + EscapeParameter(program.parameter);
    } else {
      if (Host().Text(kKeyBox).empty()) invalid = kNoKey;
      const KeyCodePair pair = capture_.Pair(kKeyBox);
      char record[64];
      std::snprintf(record, sizeof record, "0/%02x/%02x", pair.virtualKey, pair.scanCode);
      mapped = record;
      for (int id : kActionModifierBoxes) mapped += Host().IsChecked(id) ? "/1" : "/0";
    }
    if (invalid != nullptr) {
      CUtilityLib::Get().MessageBox(Host().Window(), invalid, kAppTitle,
                                    message_box::kOk | message_box::kIconInformation);
      return;
    }
  }
  // "설정하지 않음" leaves no section; either way the section changes in one step.
  SectionLines section{kSection, {}};
  if (!notSet) section.lines = {"KeyState=" + companions, "Mapped=" + mapped};
  if (!WriteRuleSection(Host().Window(), ruleFile_, std::move(section))) return;
  CResizeDlg::OnOK();
}
