#include "editors/CMouseMapDlg.h"

#include <cstdio>
#include <utility>

#include "common/ProgramNames.h"
#include "common/RuleRecord.h"
#include "common/TextCase.h"
#include "editors/KeyNaming.h"
#include "editors/ProgramSections.h"
#include "editors/RuleFileWrite.h"
#include "editors/RuleSectionLines.h"
#include "editors/StorableProgram.h"
#include "profile/IniDocument.h"
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

// The value of the section's first line of `key` (as the profile functions find it: trimmed,
// one pair of outer quotes removed), or nullopt without one. The section is read whole, so a
// long program path with its parameter is never cut: a cut record would run another program.
std::optional<std::string> ValueOf(const std::vector<std::string>& lines, std::string_view key) {
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || LineKey(line) != key) continue;
    return std::string(StripOuterQuotes(TrimBlanks(std::string_view(line).substr(equals + 1))));
  }
  return std::nullopt;
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
  OnCommand(kFollowAll, [this] { SetKind(std::nullopt); });
  OnCommand(kBrowse, [this] { Browse(); });
  OnCommand(kDropButton, [this] { TakeDrop(); });
  OnMessage(WM_KEY_CAPTURED, [this](std::uintptr_t wParam, std::intptr_t lParam) {
    return capture_.OnCaptured(Host(), wParam, lParam);
  });
  OnNotify(kProgramChoice, dialog_message::kComboSelectionDone, [this] {
    if (const auto program = programs_.OnPicked(Host())) ShowPage(*program);
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
  const Rule rule = Load("");
  pages_.push_back({"", rule, rule});
  // Each program's rule is read once: to tell whether it is listed, and as its page.
  std::vector<std::string> programs;
  for (std::string& program :
       ProgramsWithSections(CUtilityLib::Get().ProgramNames(),
                            CUtilityLib::Get().Profiles().SectionNames(ruleFile_), kSection)) {
    const Rule own = Load(program);
    if (!own.kind) continue;
    pages_.push_back({program, own, own});
    programs.push_back(std::move(program));
  }
  programs_.Fill(Host(), programs);
  Host().ShowControl(kFollowAll, false);
  ShowRule(rule);
  return true;
}

// The switches act as one choice; each kind enables only its own controls. A program that
// follows the rule for all programs has "모든 프로그램 규칙 따르기" checked.
void CMouseMapDlg::SetKind(std::optional<Kind> kind) {
  Host().SetChecked(kKeyAction, kind == Kind::SendKey);
  Host().SetChecked(kProgramAction, kind == Kind::RunProgram);
  Host().SetChecked(kNotSet, kind == Kind::NotSet);
  Host().SetChecked(kFollowAll, !kind);
  Host().Enable(kKeyBox, kind == Kind::SendKey);
  for (int id : kActionModifierBoxes) Host().Enable(id, kind == Kind::SendKey);
  for (int id : {kProgram, kBrowse, kParameter}) Host().Enable(id, kind == Kind::RunProgram);
}

// A companion field other than 0 or 1 (written by hand) checks its box, as the library holds
// any nonzero flag as set. A program's section decides only with a `Mapped` of its own, even
// an empty one (no action in that program).
CMouseMapDlg::Rule CMouseMapDlg::Load(const std::string& program) const {
  const std::vector<std::string> lines =
      CUtilityLib::GetWholeProfileSection(ProgramSection(kSection, program), ruleFile_);
  Rule rule;
  const std::string companions = ValueOf(lines, "keystate").value_or("");
  if (!companions.empty()) {
    const std::vector<std::string> fields = FieldsPaddedTo(companions, kCompanionFields);
    for (std::size_t i = 0; i < kCompanionBoxes.size(); ++i) {
      rule.companions[i] = ReadFlagField(fields[i]);
    }
  }
  const std::optional<std::string> mapped = ValueOf(lines, "mapped");
  if (!program.empty() && !mapped) return rule;
  if (mapped.value_or("").empty()) {
    rule.kind = Kind::NotSet;
    return rule;
  }
  const std::vector<std::string> fields = FieldsPaddedTo(*mapped, kMappedFields);
  if (ReadFlagField(fields[0])) {
    rule.kind = Kind::RunProgram;
    rule.program = fields[1];
    rule.parameter = UnescapeParameter(fields[2]);
    return rule;
  }
  rule.kind = Kind::SendKey;
  rule.key = {static_cast<std::uint8_t>(ReadHexField(fields[1])),
              static_cast<std::uint8_t>(ReadHexField(fields[2]))};
  rule.keyText = FormatKeyName(rule.key.virtualKey, rule.key.scanCode);
  for (std::size_t i = 0; i < kActionModifierBoxes.size(); ++i) {
    rule.actionModifiers[i] = ReadFlagField(fields[3 + i]);
  }
  return rule;
}

void CMouseMapDlg::ShowRule(const Rule& rule) {
  SetKind(rule.kind);
  for (std::size_t i = 0; i < kCompanionBoxes.size(); ++i) {
    Host().SetChecked(kCompanionBoxes[i], rule.companions[i]);
  }
  capture_.SetPair(Host(), kKeyBox, rule.key);
  Host().SetText(kKeyBox, rule.keyText);
  for (std::size_t i = 0; i < kActionModifierBoxes.size(); ++i) {
    Host().SetChecked(kActionModifierBoxes[i], rule.actionModifiers[i]);
  }
  program_.SetWindowTextA(rule.program);
  Host().SetText(kParameter, rule.parameter);
}

CMouseMapDlg::Rule CMouseMapDlg::ShownRule() {
  Rule rule;
  if (Host().IsChecked(kKeyAction)) rule.kind = Kind::SendKey;
  if (Host().IsChecked(kProgramAction)) rule.kind = Kind::RunProgram;
  if (Host().IsChecked(kNotSet)) rule.kind = Kind::NotSet;
  for (std::size_t i = 0; i < kCompanionBoxes.size(); ++i) {
    rule.companions[i] = Host().IsChecked(kCompanionBoxes[i]);
  }
  rule.key = capture_.Pair(kKeyBox);
  rule.keyText = Host().Text(kKeyBox);
  for (std::size_t i = 0; i < kActionModifierBoxes.size(); ++i) {
    rule.actionModifiers[i] = Host().IsChecked(kActionModifierBoxes[i]);
  }
  rule.program = program_.GetWindowTextA();
  rule.parameter = Host().Text(kParameter);
  return rule;
}

void CMouseMapDlg::ShowPage(const std::string& program) {
  pages_[shown_].shown = ShownRule();
  std::size_t page = 0;
  while (page < pages_.size() &&
         !SameProgramName(CUtilityLib::Get().ProgramNames(), pages_[page].program, program))
    ++page;
  if (page == pages_.size()) {
    const Rule rule = Load(program);
    pages_.push_back({program, rule, rule});
  }
  shown_ = page;
  Host().ShowControl(kFollowAll, !program.empty());
  ShowRule(pages_[page].shown);
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

std::vector<std::string> CMouseMapDlg::LinesOf(const Page& page, const char*& invalid) const {
  const Rule& rule = page.shown;
  invalid = nullptr;
  if (!rule.kind) return {};
  if (*rule.kind == Kind::NotSet) {
    if (page.program.empty()) return {};
    return {"Mapped="};
  }
  std::string companions;
  for (bool held : rule.companions) {
    companions += companions.empty() ? "" : "/";
    companions += held ? "1" : "0";
  }
  std::string mapped;
  if (*rule.kind == Kind::RunProgram) {
    const StorableProgram program = MakeStorable(rule.program, rule.parameter, kInvalidProgram);
    invalid = program.problem;
    mapped = "1/" + program.path + "/" + EscapeParameter(program.parameter);
  } else {
    if (rule.keyText.empty()) invalid = kNoKey;
    char record[64];
    std::snprintf(record, sizeof record, "0/%02x/%02x", rule.key.virtualKey, rule.key.scanCode);
    mapped = record;
    for (bool held : rule.actionModifiers) mapped += held ? "/1" : "/0";
  }
  return {"KeyState=" + companions, "Mapped=" + mapped};
}

// The rule for all programs is written as it always was; a program's only when the user
// changed it. An incomplete rule is shown with its message, on its own page, and nothing is
// written.
void CMouseMapDlg::OnOK() {
  pages_[shown_].shown = ShownRule();
  std::vector<std::size_t> order{shown_};
  for (std::size_t page = 0; page < pages_.size(); ++page) {
    if (page != shown_) order.push_back(page);
  }
  std::vector<SectionLines> sections;
  for (std::size_t index : order) {
    const Page& page = pages_[index];
    if (!page.program.empty() && page.shown == page.loaded) continue;
    const char* invalid = nullptr;
    std::vector<std::string> lines = LinesOf(page, invalid);
    if (invalid != nullptr) {
      if (index != shown_) {
        programs_.Choose(Host(), page.program);
        ShowPage(page.program);
      }
      CUtilityLib::Get().MessageBox(Host().Window(), invalid, kAppTitle,
                                    message_box::kOk | message_box::kIconInformation);
      return;
    }
    sections.push_back({ProgramSection(kSection, page.program), std::move(lines)});
  }
  if (!WriteRuleSections(Host().Window(), ruleFile_, std::move(sections))) return;
  CResizeDlg::OnOK();
}
