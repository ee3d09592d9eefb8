#pragma once

#include <random>
#include <set>
#include <string>
#include <vector>

// A random session of physical input with every feature on and a rule file of remappings,
// hotkeys of both kinds and a middle-button rule, written as a scenario script. After 1 to 40
// random key, button, wheel and movement events, some of them arriving while the library
// injects, with switches and rules changed, pauses and (rarely) the host window's end in
// between, the user lets go of everything.
class RandomSession {
 public:
  // WineSafe leaves out what Wine takes differently from Windows: the right Shift (Wine counts
  // it as the left one) and remapping to a left modifier (the target is injected extended,
  // which Wine takes for the right key).
  enum class Keys { All, WineSafe };

  RandomSession(unsigned seed, Keys keys) : random_(seed), keys_(keys) {}

  std::vector<std::string> Script();

 private:
  std::string NextEvent();
  // A change of a switch or a rule, a pause or its end, or the end of the host window.
  std::string NextChange();
  // A key, button or wheel event; never one of the key or button named `avoid`.
  std::string NextInput(const std::string& avoid);

  std::mt19937 random_;
  Keys keys_;
  std::set<std::string> heldKeys_;
  std::set<std::string> heldButtons_;
  std::set<std::string> switchedOff_;
  bool paused_ = false;
  // The key or button of the last event that arrives during an injection: it may arrive after
  // the next line's event, so that line must be about something else.
  std::string pending_;
};
