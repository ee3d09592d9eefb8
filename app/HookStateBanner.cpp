#include "app/HookStateBanner.h"

void HookStateBanner::Started(bool hooksInstalled) {
  started_ = true;
  hooksInstalled_ = hooksInstalled;
}

void HookStateBanner::Paused() {
  ++pauses_;
}

void HookStateBanner::Resumed() {
  if (pauses_ > 0) --pauses_;
}

void HookStateBanner::AwayBegan() {
  away_ = true;
}

void HookStateBanner::AwayEnded() {
  away_ = false;
}

// Hooks that came back are hooks again, whatever the start said; hooks that could not be put
// in again are missing until the library's next try succeeds.
void HookStateBanner::HooksInstalledAgain(bool installed, const std::string& clockTime) {
  hooksInstalled_ = installed;
  (installed ? reinstalledAt_ : failedAt_) = clockTime;
  if (installed) failedAt_.clear();
}

// What matters most comes first: without hooks nothing else is true; the away mode outlasts an
// editor the user left open; a pause says why keys go unfiltered, the user's (which outlasts
// the editor) before the editor's. A program of higher rights in front takes the place of
// "running" only: the other states already say that nothing is filtered anywhere, or are the
// away mode, which the user must see until it ends. The rights come last, as they change
// nothing of what the line says before them.
std::string HookStateBanner::Text() const {
  if (!started_) return {};
  return StateText() + (elevated_ ? kElevated : "");
}

std::string HookStateBanner::StateText() const {
  if (!hooksInstalled_) return failedAt_.empty() ? kNoHooks : kReinstallFailed + failedAt_;
  const std::string state = away_         ? kAway
                            : userPaused_ ? kUserPaused
                            : pauses_ > 0 ? kPaused
                            : outranked_  ? kOutranked
                                          : kRunning;
  return reinstalledAt_.empty() ? state : state + kReinstalled + reinstalledAt_;
}
