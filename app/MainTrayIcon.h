#pragma once

#include "common/Handles.h"
#include "ui/CPLTrayIconWnd.h"

// The main window's tray icon: made at start and again whenever Explorer restarts (a new
// taskbar has no icons), shown unless the user chose to hide it, which the registry keeps.
class MainTrayIcon {
 public:
  static constexpr const char* kTooltip = "Tastron (키보드 제어 / 한영전환)";
  static constexpr const char* kPausedTooltip = "Tastron (일시 정지)";
  static constexpr const char* kOutrankedTooltip =
      "Tastron (관리자 권한 프로그램에서는 동작하지 않음)";

  // Makes the icon for `window` and shows it or not as stored; whether the user hid it.
  // `again` (after Explorer's restart) keeps the icon down until it is known to be wanted.
  bool SetUp(WindowHandle window, bool again);
  // The user's choice, stored and done at once.
  void SetHidden(bool hidden);
  void Hide() { icon_.HideIcon(); }
  // The tip says whether the user paused Tastron (shown again only where the icon is shown).
  void SetPaused(bool paused);
  // And, after the pause, whether a program of higher rights is in front (where the pointer
  // rests on the icon while that program keeps the front). Shown again only when it changed.
  void SetOutranked(bool outranked);

 private:
  void Show(bool hidden);

  CPLTrayIconWnd icon_;
  bool hidden_ = false;
  bool paused_ = false;
  bool outranked_ = false;
};
