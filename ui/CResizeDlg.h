#pragma once

#include <map>

#include "ui/CDialog.h"

// The base of every dialog but the About dialog: a dialog whose controls follow its size.
class CResizeDlg : public CDialog {
 public:
  using CDialog::CDialog;

  // When the dialog grows by dx, dy: control `id` moves by x% of dx and y% of dy, or grows so.
  // Growth counts from the dialog's size when the rule is set, and the control keeps the place
  // it has then: rules set in the constructor count from the template, rules set during the
  // dialog's initialisation (or later) from where the control is at that moment.
  void MoveXYRate(int id, int xPercent, int yPercent);
  void SizeXYRate(int id, int xPercent, int yPercent);

  // Notes the template's places of the controls with rules from the constructor.
  bool InitDialog(int clientWidth, int clientHeight) override;

 protected:
  void OnSizeChanged(int clientWidth, int clientHeight) override;

 private:
  struct Anchor {
    int moveX = 0;
    int moveY = 0;
    int sizeX = 0;
    int sizeY = 0;
    DialogRect original;  // the control's place when the rule was set
    int width = 0;        // the client area's size then
    int height = 0;
  };
  // The rule of `id`; a new one notes the control's place and the dialog's size, once the
  // dialog has a window.
  Anchor& RuleFor(int id);

  std::map<int, Anchor> anchors_;  // by control id
  bool sized_ = false;             // the client size below is known
  int clientWidth_ = 0;
  int clientHeight_ = 0;
};
