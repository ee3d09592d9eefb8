#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/KeyCodePair.h"
#include "ui/CResizeDlg.h"

// The keys a key field does not take: they keep their ordinary effect in the dialog. Key code
// 0xE5 (what an input method reports for a key it is composing with) is never taken.
struct KeyRefusals {
  std::vector<KeyCodePair> pairs;
  bool Refuses(KeyCodePair pair) const;
};

// The key fields of a rule editor: read-only edit boxes that the user clicks and then presses a
// key in. Each holds a key code pair and shows its name. The dialog calls Filter from its
// PreTranslateMessage (before the dialog manager can act on the key) and OnCaptured for
// WM_KEY_CAPTURED, which the filter posts so that the field changes after the key message.
class KeyCapture {
 public:
  // Fields in the order in which the handler compares them.
  void AddField(int id, KeyRefusals refusals);

  // True when the message was a key event of a focused field that takes that key: then it has
  // posted WM_KEY_CAPTURED and the key goes no further. Releases count like presses, so the
  // key released last is the one a field keeps.
  bool Filter(DialogHost& host, const LoopMessage& message) const;
  // WM_KEY_CAPTURED: the field named by wParam takes the pair, whether or not it still has the
  // focus.
  std::intptr_t OnCaptured(DialogHost& host, std::uintptr_t wParam, std::intptr_t lParam);

  // The field's pair (00/00 before any key), and setting it with its name shown.
  KeyCodePair Pair(int id) const;
  void SetPair(DialogHost& host, int id, KeyCodePair pair);

 private:
  struct Field {
    int id;
    KeyRefusals refusals;
    KeyCodePair pair;
  };
  const Field* Find(int id) const;

  std::vector<Field> fields_;
};
