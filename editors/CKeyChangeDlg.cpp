#include "editors/CKeyChangeDlg.h"

#include "editors/KeyNaming.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr const char* kAppTitle = "Tastron";
constexpr KeyCodePair kHanjaKey{0x19, 0xF1};
constexpr KeyCodePair kHangulKey{0x15, 0xF2};
constexpr std::uint8_t kButtonScanCodes[] = {0x10, 0x11, 0x12};  // left, middle, right

}  // namespace

CKeyChangeDlg::CKeyChangeDlg() : CResizeDlg(kTemplateId, 0) {
  // From leaves the Hangul and Hanja keys to their ordinary work, as its note tells the user.
  capture_.AddField(kFrom, KeyRefusals{{kHanjaKey, kHangulKey}});
  capture_.AddField(kTo, KeyRefusals{});
  const int buttons[] = {kLeftButton, kMiddleButton, kRightButton};
  for (int i = 0; i < 3; ++i) {
    const KeyCodePair button{0, kButtonScanCodes[i]};
    OnCommand(buttons[i], [this, button] {
      capture_.SetPair(Host(), kTo, button);
      keepsOriginal_ = false;
    });
  }
  OnCommand(kOriginalKey, [this] { KeepOriginal(); });
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
  if (editMode_) {
    capture_.SetPair(Host(), kFrom, entry_.From());
    capture_.SetPair(Host(), kTo, entry_.To());
    if (forProgram_ && entry_.KeepsOriginal) KeepOriginal();
  }
  return true;
}

// The fields' texts decide: a field shows a key exactly when the user gave it one.
void CKeyChangeDlg::OnOK() {
  const char* missing = Host().Text(kFrom).empty() ? kNoFromKey
                        : Host().Text(kTo).empty() ? kNoToKey
                                                   : nullptr;
  if (missing != nullptr) {
    CUtilityLib::Get().MessageBox(Host().Window(), missing, kAppTitle,
                                  message_box::kOk | message_box::kIconInformation);
    return;
  }
  CResizeDlg::OnOK();
}
