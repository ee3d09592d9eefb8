#pragma once

#include <random>
#include <set>
#include <string>
#include <vector>

// A random session of physical input with every feature on and a rule file of remappings,
// hotkeys of both kinds and middle-button rules, for all programs and for two programs of their
// own, written as a scenario script. After 1 to 40 random key, button, wheel and movement
// events, some of them arriving while the library injects, with switches and rules changed,
// pauses, other windows coming to the front, time passing, hooks the system drops (and the
// watchdog puts back), the session locked and unlocked, and (rarely) the host window's end in
// between, the user lets go of everything.
class RandomSession {
 public:
  // WineSafe leaves out what Wine takes differently from Windows: remapping to a left modifier
  // (the target is injected extended, which Wine takes for the right key), and waits long enough
  // for the watchdog to tick with keys held (Wine's name for a right Shift, see NextEvent).
  enum class Keys { All, WineSafe };

  RandomSession(unsigned seed, Keys keys) : random_(seed), keys_(keys) {}

  std::vector<std::string> Script();

 private:
  // One event: one line, or two for another window in front (with the focus put back).
  void NextEvent(std::vector<std::string>& script);
  // A change of a switch or a rule, a pause or its end, or the end of the host window.
  std::string NextChange();
  // Another window in front, which may bring another program's rules.
  void NextForeground(std::vector<std::string>& script);
  // A key, button or wheel event; never one of the key or button named `avoid`.
  std::string NextInput(const std::string& avoid);
  // The system drops one hook or both; input comes that they miss, and the watchdog's next ticks
  // put them back (after the pause ends, if one is on).
  void HooksLostAWhile(std::vector<std::string>& script);
  bool RightShiftUnderWinesName() const;
  // The session is locked: input goes to the lock screen, where the user lets go of everything,
  // and then the session is unlocked.
  void SessionLockedAWhile(std::vector<std::string>& script);

  std::mt19937 random_;
  Keys keys_;
  std::set<std::string> heldKeys_;
  std::set<std::string> heldButtons_;
  std::set<std::string> switchedOff_;
  bool paused_ = false;
  bool hostGone_ = false;
  bool hooksJustBack_ = false;
  // The key or button of the last event that arrives during an injection: it may arrive after
  // the next line's event, so that line must be about something else.
  std::string pending_;
};
