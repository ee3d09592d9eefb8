#pragma once

#include <string>

// The one line in the main window's banner area that says what Tastron is doing now: running,
// paused by the user or while a rule editor is open, in the away mode, or without hooks, and
// when the library last had to install its hooks again; and that it does nothing while a
// program of higher rights is in front. It changes only when the state does.
class HookStateBanner {
 public:
  static constexpr const char* kRunning = "동작 중";
  static constexpr const char* kNoHooks = "후크를 설치하지 못했습니다";
  static constexpr const char* kPaused = "일시 정지 (설정 창이 열려 있음)";
  static constexpr const char* kUserPaused = "일시 정지 (다시 시작: 단축키 또는 트레이 메뉴)";
  static constexpr const char* kAway = "자리 비움 모드";
  static constexpr const char* kReinstalled = " · 후크 재설치 ";
  static constexpr const char* kReinstallFailed = "후크 재설치 실패 ";
  static constexpr const char* kElevated = " · 관리자 권한";
  static constexpr const char* kOutranked = "관리자 권한 프로그램에서는 동작하지 않음";

  // Before the hooks start the line is empty.
  void Started(bool hooksInstalled);
  // A rule editor opened or closed (the hooks are paused meanwhile).
  void Paused();
  void Resumed();
  // The library's word (0x46A) that the user paused it (the pause hotkey, the tray) or resumed.
  void UserPaused(bool paused) { userPaused_ = paused; }
  bool IsUserPaused() const { return userPaused_; }
  void AwayBegan();
  void AwayEnded();
  // The library put its hooks in again (or failed to) at `clockTime` ("14:05").
  void HooksInstalledAgain(bool installed, const std::string& clockTime);

  // Tastron runs with the administrator's rights: every state says so.
  void SetElevated(bool elevated) { elevated_ = elevated; }
  // The window in front belongs to a process of higher rights, which the hooks get nothing of.
  void SetOutranked(bool outranked) { outranked_ = outranked; }

  bool Away() const { return away_; }
  std::string Text() const;

 private:
  std::string StateText() const;

  bool started_ = false;
  bool hooksInstalled_ = false;
  int pauses_ = 0;
  bool userPaused_ = false;
  bool away_ = false;
  bool elevated_ = false;
  bool outranked_ = false;
  std::string reinstalledAt_;  // clock time of the last reinstallation, empty before one
  std::string failedAt_;       // of the last failed one, while the hooks are missing
};
