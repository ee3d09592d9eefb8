#include "ui/win32/FileDropTarget.h"

#include <shellapi.h>

#include "ui/win32/TextConversion.h"

namespace {

constexpr const wchar_t* kStateProperty = L"Tastron.FileDropTarget";

struct DropState {
  WNDPROC original = nullptr;
  std::string dropped;
  bool clicking = false;  // inside our own BM_CLICK, whose button messages must go through
};

DropState* StateOf(HWND button) {
  return static_cast<DropState*>(GetPropW(button, kStateProperty));
}

// The whole first file, however long its path: a cut path would name another file.
std::string FirstFile(HDROP drop) {
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::wstring path(static_cast<std::size_t>(length) + 1, L'\0');
  DragQueryFileW(drop, 0, path.data(), length + 1);
  path.resize(length);
  return WideToUtf8(path);
}

LRESULT CALLBACK DropTargetProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  DropState* state = StateOf(button);
  const WNDPROC original = state->original;
  switch (message) {
    case WM_DROPFILES: {
      const auto drop = reinterpret_cast<HDROP>(wParam);
      if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        state->dropped = FirstFile(drop);
        PostMessageW(button, BM_CLICK, 0, 0);
      }
      DragFinish(drop);
      return 0;
    }
    case BM_CLICK: {
      state->clicking = true;
      const LRESULT result = CallWindowProcW(original, button, message, wParam, lParam);
      state->clicking = false;
      return result;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      RemovePropW(button, kStateProperty);
      delete state;
      return CallWindowProcW(original, button, message, wParam, lParam);
    default:
      break;
  }
  const bool mouse = message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
  const bool key = message >= WM_KEYDOWN && message <= 0x108;
  if ((mouse || key) && !state->clicking) return 0;
  return CallWindowProcW(original, button, message, wParam, lParam);
}

}  // namespace

void MakeFileDropTarget(HWND button) {
  if (button == nullptr || StateOf(button) != nullptr) return;
  auto* state = new DropState;
  SetPropW(button, kStateProperty, state);
  state->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DropTargetProcedure)));
  DragAcceptFiles(button, TRUE);
}

std::string TakeDroppedFile(HWND button) {
  DropState* state = StateOf(button);
  if (state == nullptr) return {};
  std::string dropped;
  dropped.swap(state->dropped);
  return dropped;
}
