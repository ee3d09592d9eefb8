#include "editors/CKeyChangeDlg.h"

#include <string>

#include "editors/KeyChangeSection.h"
#include "editors/KeyNaming.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kAppTitle = "Tastron";
constexpr KeyCodePair kHanjaKey{0x19, 0xF1};
constexpr KeyCodePair kHangulKey{0x15, 0xF2};
constexpr std::uint8_t kButtonScanCodes[] = {0x10, 0x11, 0x12};  // left, middle, right
constexpr int kHoldTimeDigits = 4;
constexpr int kToButtons[] = {CKeyChangeDlg::kLeftButton, CKeyChangeDlg::kMiddleButton,
                              CKeyChangeDlg::kRightButton};
constexpr int kHoldButtons[] = {CKeyChangeDlg::kHoldLeftButton, CKeyChangeDlg::kHoldMiddleButton,
                                CKeyChangeDlg::kHoldRightButton};

}  // namespace

CKeyChangeDlg::CKeyChangeDlg() : CResizeDlg(kTemplateId, 0) {
  // From leaves the Hangul and Hanja keys to their ordinary work, as its note tells the user.
  capture_.AddField(kFrom, KeyRefusals{{kHanjaKey, kHangulKey}});
  capture_.AddField(kTo, KeyRefusals{});
  capture_.AddField(kHold, KeyRefusals{});
  OfferButtons(kTo, kToButtons);
  OfferButtons(kHold, kHoldButtons);
  OnCommand(kOriginalKey, [this] { KeepOriginal(); });
  OnCommand(kHoldBox, [this] { EnableHold(); });
  // A key pressed in To replaces "(원래 키)"; one pressed in From leaves it.
  OnMessage(WM_KEY_CAPTURED, [this](std::uintptr_t wParam, std::intptr_t lParam) {
    const std::intptr_t result = capture_.OnCaptured(Host(), wParam, lParam);
    keepsOriginal_ &= Host().Text(kTo) == kOriginalKeyName;
    return result;
  });
}

void CKeyChangeDlg::KeepOriginal() {
  capture_.SetPair(Host(), kTo, {});
  Host().SetText(kTo, kOriginalKeyName);
  keepsOriginal_ = true;
}

// A button in To replaces "(원래 키)" as a key pressed there does.
void CKeyChangeDlg::OfferButtons(int field, const int (&buttons)[3]) {
  for (int i = 0; i < 3; ++i) {
    const KeyCodePair button{0, kButtonScanCodes[i]};
    OnCommand(buttons[i], [this, field, button] {
      capture_.SetPair(Host(), field, button);
      if (field == kTo) keepsOriginal_ = false;
    });
  }
}

void CKeyChangeDlg::EnableHold() {
  const bool holds = Host().IsChecked(kHoldBox);
  Host().Enable(kHold, holds);
  for (int button : kHoldButtons) Host().Enable(button, holds);
  Host().Enable(kHoldTime, holds);
}

void CKeyChangeDlg::SetEntry(const KeyChangeEntry& entry) {
  editMode_ = true;
  entry_ = entry;
}

bool CKeyChangeDlg::PreTranslateMessage(const LoopMessage& message) {
  if (capture_.Filter(Host(), message)) return true;
  return CResizeDlg::PreTranslateMessage(message);
}

bool CKeyChangeDlg::OnInitDialog() {
  // The names are computed again: the entry's may come from another version of the table.
  Host().ShowControl(kOriginalKey, forProgram_);
  if (!forProgram_) {
    // Without the button, To takes its room and lines up with From.
    DialogRect to = Host().ControlRect(kTo);
    to.right = Host().ControlRect(kFrom).right;
    Host().MoveControl(kTo, to);
  }
  Host().LimitText(kHoldTime, kHoldTimeDigits);
  Host().SetText(kHoldTime, std::to_string(kDefaultHoldMs));
  if (editMode_) {
    capture_.SetPair(Host(), kFrom, entry_.From());
    capture_.SetPair(Host(), kTo, entry_.To());
    if (forProgram_ && entry_.KeepsOriginal) KeepOriginal();
    if (entry_.Holds()) {
      Host().SetChecked(kHoldBox, true);
      capture_.SetPair(Host(), kHold, entry_.Hold());
      Host().SetText(kHoldTime, std::to_string(entry_.HoldMs));
    }
  }
  EnableHold();
  return true;
}

// The fields' texts decide: a field shows a key exactly when the user gave it one.
const char* CKeyChangeDlg::Refusal() {
  if (Host().Text(kFrom).empty()) return kNoFromKey;
  if (Host().Text(kTo).empty()) return kNoToKey;
  tapHold_ = Host().IsChecked(kHoldBox);
  if (!tapHold_) return nullptr;
  if (Host().Text(kHold).empty()) return kNoHoldKey;
  const auto ms = ReadHoldMs(Host().Text(kHoldTime));
  if (!ms) return kBadHoldTime;
  holdMs_ = *ms;
  return nullptr;
}

void CKeyChangeDlg::OnOK() {
  if (const char* refusal = Refusal()) {
    CUtilityLib::Get().MessageBox(Host().Window(), refusal, kAppTitle,
                                  message_box::kOk | message_box::kIconInformation);
    return;
  }
  CResizeDlg::OnOK();
}
