#include "sim/RandomSession.h"

#include <algorithm>

std::vector<std::string> RandomSession::Script() {
  const bool wineSafe = keys_ == Keys::WineSafe;
  std::vector<std::string> script = {
      "set Lock_Monitor=1 LockWorkStation=1 InactiveMouse=1 Lock_ShiftSpace=1 Lock_CtrlSpace=1",
      "set Lock_UseRCtrl=1 Lock_CapsLock=1 Lock_Insert=1 Lock_NumLock=1 Lock_Win=1",
      "set Key_NoteBookMode=1 Key_KeyChange=1 Key_MouseMiddleButton=1 EnableShiftMemory=1",
      "set EnableShiftWheel=1 EnableAltWheel=1 RButtonWheel=1 LButtonWheel=1",
      "set ShiftWheelDelta=2 EnableCtrlWheel=1 CtrlWheelUnit=100",
      wineSafe ? "rule KeyChange 14/3a=51/10"   // Caps Lock as Q
               : "rule KeyChange 14/3a=a2/1d",  // Caps Lock as left Ctrl
      "rule KeyChange 41/1e=00/11",             // A as the middle button
      "rule KeyChange 42/30=43/2e",             // B and C swapped
      "rule KeyChange 43/2e=42/30",
      "rule KeyChange 2d/52=dead",                                  // Insert produces nothing
      "rule Hotkey 4b/25/1/1/0/0/0/0/0/0=0/45/12/0/0/0/1/0/0/0/0",  // LCtrl+LAlt+K: LWin+E
      "rule Hotkey 45/12/0/0/0/1/0/0/0/0=1/notepad.exe/c:$!a.txt",
      "rule Hotkey 70/3b/0/0/1/0/0/0/0/0=0/41/1e/1/1/0/0/0/0/0/0",  // LShift+F1: Ctrl+Alt+A
      "rule Hotkey 5b/5b/0/0/0/0/0/0/0/0=1/calc.exe/",
      "rule Hotkey 4c/26/0/0/0/0/1/0/0/0=0/4c/26/0/0/0/1/0/0/0/0",  // RCtrl+L: Win+L
      "rule Hotkey 77/42/0/0/0/0/0/0/0/0=2/",                       // F8 pauses and resumes
      "rule MouseMap2 KeyState=1/0/0/0/0/0", "rule MouseMap2 Mapped=0/43/2e/1/0/0/0/0/0/0/0",
      "rule TapHold 44/20=44/20/a0/2a/150",  // D tapped is D, held left Shift
      "window sheet EXCEL7", "window bar1 ScrollBar in sheet", "window bar2 ScrollBar in sheet",
      "focus sheet",
      // Two programs with rules of their own (named in another letter case than the window's
      // program), and one without. Hidden: under Wine a visible window that comes to the front
      // takes the X input focus, and Wine then forgets the keys held down (the Wine driver's
      // "none" is hidden for the same reason).
      "window editor Notepad hidden program NOTEPAD.EXE",
      "window game GameWnd hidden program game.exe",
      "window other OtherWnd hidden program other.exe",
      // The editor: Caps Lock as another key, B left as itself, no LCtrl+LAlt+K, and
      // Ctrl+middle passes (an empty Mapped).
      wineSafe ? "rule KeyChange:notepad.exe 14/3a=57/11"   // as W
               : "rule KeyChange:notepad.exe 14/3a=a0/2a",  // as left Shift
      "rule KeyChange:notepad.exe 42/30=", "rule Hotkey:notepad.exe 4b/25/1/1/0/0/0/0/0/0=",
      "rule MouseMap2:notepad.exe KeyState=1/0/0/0/0/0",
      "rule MouseMap2:notepad.exe Mapped=", "rule TapHold:notepad.exe 44/20=",
      // The game: E as F, K as the right button, F1 alone as Ctrl+Z, the middle button alone
      // as Ctrl+F.
      "rule KeyChange:game.exe 45/12=46/21", "rule KeyChange:game.exe 4b/25=00/12",
      "rule Hotkey:game.exe 70/3b/0/0/0/0/0/0/0/0=0/5a/2c/1/0/0/0/0/0/0/0",
      "rule MouseMap2:game.exe KeyState=0/0/0/0/0/0",
      "rule MouseMap2:game.exe Mapped=0/46/21/1/0/0/0/0/0/0/0",
      "rule TapHold:game.exe 58/2d=59/15/00/10/100",  // X tapped is Y, held the left button
  };
  std::uniform_int_distribution<int> length(1, 40);
  const int events = length(random_);
  for (int i = 0; i < events; ++i) NextEvent(script);
  // An event still waiting for an injection arrives with the next input line at the latest.
  if (!pending_.empty()) script.push_back("move");
  // The user lets go of everything, in any order.
  std::vector<std::string> held(heldKeys_.begin(), heldKeys_.end());
  std::shuffle(held.begin(), held.end(), random_);
  for (const std::string& key : held) script.push_back("up " + key);
  for (const std::string& button : heldButtons_) script.push_back("mouse " + button + " up");
  return script;
}

void RandomSession::NextEvent(std::vector<std::string>& script) {
  const int kind = static_cast<int>(random_() % 22);
  std::string avoid;
  avoid.swap(pending_);
  // One event waits for an injection at a time: the line after it is an ordinary one.
  // Input calls the hooks: after it, the watchdog puts dropped hooks back at its first tick
  // again, without the longer wait that follows a reinstallation no hook call came after.
  if (kind < 12 || !avoid.empty()) hooksJustBack_ = false;
  if (kind < 10 || !avoid.empty()) {
    script.push_back(NextInput(avoid));
  } else if (kind == 10) {
    // Movement, sometimes far enough to make a held right button a drag.
    static const std::vector<std::string> kMoves = {"move", "move 2 1", "move 10 0", "move 0 -7"};
    script.push_back(kMoves[random_() % kMoves.size()]);
  } else if (kind == 11) {
    const std::string input = NextInput(avoid);
    const std::size_t nameStart = input.find(' ') + 1;
    pending_ = input.substr(nameStart, input.find(' ', nameStart) - nameStart);
    script.push_back("during-injection " + input);
  } else if (kind < 16) {
    script.push_back(NextChange());
  } else if (kind < 18) {
    NextForeground(script);
  } else if (kind < 20) {
    // Time passes: a tick of the watchdog or several, with the keys held as they are. Wine
    // holds a right Shift sent as keyboards send it as the left one, and across two
    // reinstallations of the hooks the library then takes it for released (seed 88 with long
    // waits), which Windows, naming it truthfully, never makes it do: the Wine-safe sessions
    // keep their waits shorter than the hooks' silence that the watchdog notices. A wait of
    // 160 ms lets a tap-hold key's time pass.
    static const std::vector<std::string> kWaits = {"wait 20", "wait 160", "wait 300", "wait 600"};
    const bool wineSafe = keys_ == Keys::WineSafe;
    script.push_back(kWaits[random_() % (wineSafe ? 2 : kWaits.size())]);
  } else if (kind == 20 && !hostGone_ && !hooksJustBack_ && !RightShiftUnderWinesName()) {
    HooksLostAWhile(script);
  } else {
    SessionLockedAWhile(script);
  }
}

// Wine holds a right Shift sent as keyboards send it as the left one. Across two
// reinstallations of the hooks the library then takes it for released (seed 88 with long
// waits), and one pressed while the hooks were gone it adopts under the left name, so that its
// release is news to it; Windows, naming it truthfully, does neither. The Wine-safe sessions
// drop no hooks while it is held, and do not press it while they are gone.
bool RandomSession::RightShiftUnderWinesName() const {
  return keys_ == Keys::WineSafe && heldKeys_.count("RSHIFT") != 0;
}

void RandomSession::HooksLostAWhile(std::vector<std::string>& script) {
  static const std::vector<std::string> kWhich = {"hooks removed", "hooks removed keyboard",
                                                  "hooks removed mouse"};
  const std::string& which = kWhich[random_() % kWhich.size()];
  // Both hooks are called just before: the missed input then comes well within the silence
  // after which the watchdog counts them as gone, so that they are put back during the long
  // wait below, at whatever moment the watchdog's timer ticks (its phase differs between the
  // desktops), and not already while the lines in between play.
  script.push_back("move");
  script.push_back("down 87/76");  // F24, a key without rules
  script.push_back("up 87/76");
  script.push_back(which);
  const int missed = 1 + static_cast<int>(random_() % 3);
  for (int i = 0; i < missed; ++i) {
    script.push_back(NextInput(keys_ == Keys::WineSafe ? "RSHIFT" : ""));
  }
  // Input of the kind the dropped hook would have seen, which it certainly missed, and the
  // last input of all (lines without a wait between them come at the same tick; Wine stamps an
  // event a moment after the hook that saw it answered).
  script.push_back("wait 20");
  if (which != "hooks removed mouse") {
    script.push_back("down 87/76");
    script.push_back("up 87/76");
  } else {
    script.push_back("move");
  }
  // The watchdog puts nothing back while the hooks are paused.
  if (paused_) {
    paused_ = false;
    script.push_back("enable 1");
  }
  script.push_back("wait 1000");
  hooksJustBack_ = true;
}

void RandomSession::SessionLockedAWhile(std::vector<std::string>& script) {
  script.push_back("session lock");
  const int lockScreenInput = static_cast<int>(random_() % 3);
  for (int i = 0; i < lockScreenInput; ++i) script.push_back(NextInput(""));
  for (const std::string& key : heldKeys_) script.push_back("up " + key);
  for (const std::string& button : heldButtons_) script.push_back("mouse " + button + " up");
  heldKeys_.clear();
  heldButtons_.clear();
  script.push_back("session unlock");
}

void RandomSession::NextForeground(std::vector<std::string>& script) {
  static const std::vector<std::string> kWindows = {"editor", "game", "editor", "game",
                                                    "other",  "host", "none"};
  const std::string& window = kWindows[random_() % kWindows.size()];
  script.push_back("foreground " + window);
  // On a real desktop the window in front also decides the keyboard focus of the hook's thread:
  // a window of that thread (the host's, "none" under Wine) takes it, a window of another
  // program takes it away. The simulated desktop leaves it where it was, so the focus goes back
  // to the spreadsheet, which gives sideways scrolling the same target on both desktops.
  script.push_back("focus sheet");
}

std::string RandomSession::NextInput(const std::string& avoid) {
  // The Korean right Ctrl and right Alt come extended, as keyboards send them: a key is told by
  // its scan code and extended flag, which they share with the left keys otherwise.
  static const std::vector<std::string> kKeys = {
      "LSHIFT", "RSHIFT",   "LCONTROL", "LALT",    "LWIN", "RWIN", "RALT ext", "RCONTROL ext",
      "SPACE",  "CAPSLOCK", "INSERT",   "NumLock", "A",    "B",    "C",        "K",
      "E",      "L",        "F1",       "Z",       "F8",   "D",    "X"};
  static const std::vector<std::string> kButtons = {"left", "middle", "right"};
  for (;;) {
    const int kind = static_cast<int>(random_() % 10);
    if (kind < 7) {
      std::string key = kKeys[random_() % kKeys.size()];
      if (key.substr(0, key.find(' ')) == avoid) continue;
      // A held key goes up, or repeats; a key that is up goes down.
      if (heldKeys_.count(key) && random_() % 3 != 0) {
        heldKeys_.erase(key);
        return "up " + key;
      }
      heldKeys_.insert(key);
      return "down " + key;
    }
    if (kind < 9) {
      const std::string& button = kButtons[random_() % kButtons.size()];
      if (button == avoid) continue;
      if (heldButtons_.count(button)) {
        heldButtons_.erase(button);
        return "mouse " + button + " up";
      }
      heldButtons_.insert(button);
      return "mouse " + button + " down";
    }
    return random_() % 2 ? "wheel 120" : "wheel -120";
  }
}

// What the user and the program change in the middle of gestures: a switch of the settings
// window, a rule an editor or an import rewrites, the pause around an editor, and (rarely) the
// end of the host window, after which the library decides nothing any more.
std::string RandomSession::NextChange() {
  static const std::vector<std::string> kSwitches = {
      "Key_KeyChange", "Lock_UseRCtrl",    "EnableShiftMemory",     "Lock_NumLock",
      "Lock_CapsLock", "Key_NoteBookMode", "Key_MouseMiddleButton", "RButtonWheel",
      "LButtonWheel",  "Lock_ShiftSpace",  "Lock_CtrlSpace",        "Lock_Win",
      "Lock_Monitor",  "EnableShiftWheel"};
  const bool wineSafe = keys_ == Keys::WineSafe;
  const std::vector<std::string> rules = {
      "rule KeyChange 42/30=44/20",  // B as D instead of C
      "rule KeyChange 42/30=43/2e",
      "rule KeyChange 41/1e=00/10",  // A as the left button instead of the middle one
      "rule KeyChange 41/1e=00/11",
      "unrule KeyChange 41/1e",
      wineSafe ? "rule KeyChange 14/3a=52/13" : "rule KeyChange 14/3a=a3/1d",
      wineSafe ? "rule KeyChange 14/3a=51/10" : "rule KeyChange 14/3a=a2/1d",
      "rule KeyChange 2d/52=00/12",  // Insert as the right button
      "unrule KeyChange",
      "unrule Hotkey 4b/25/1/1/0/0/0/0/0/0",
      "rule Hotkey 4b/25/1/1/0/0/0/0/0/0=0/45/12/0/0/0/1/0/0/0/0",
      "unrule MouseMap2",
      "rule MouseMap2 KeyState=1/0/0/0/0/0",
      "rule MouseMap2 Mapped=0/43/2e/1/0/0/0/0/0/0/0",
      "rule TapHold 44/20=44/20/a2/1d/300",  // D held as left Ctrl
      "rule TapHold 44/20=44/20/a0/2a/150",
      "rule TapHold 43/2e=42/30/00/12/250",  // C tapped is B, held the right button
      "unrule TapHold",
  };
  // The programs' own sections: their rules, their exceptions (empty values), and the missing
  // entries that hand a key back to the rules for all programs.
  const std::vector<std::string> programRules = {
      "rule KeyChange:notepad.exe 14/3a=",
      wineSafe ? "rule KeyChange:notepad.exe 14/3a=57/11"
               : "rule KeyChange:notepad.exe 14/3a=a0/2a",
      "unrule KeyChange:notepad.exe 42/30",
      "rule KeyChange:notepad.exe 42/30=",
      "unrule KeyChange:notepad.exe",
      "unrule KeyChange:game.exe",
      "rule KeyChange:game.exe 45/12=46/21",
      "rule KeyChange:Game.exe 4b/25=00/12",
      "unrule Hotkey:game.exe",
      "rule Hotkey:game.exe 70/3b/0/0/0/0/0/0/0/0=0/5a/2c/1/0/0/0/0/0/0/0",
      "rule Hotkey:notepad.exe 4b/25/1/1/0/0/0/0/0/0=1/notepad-k.exe/",
      "rule Hotkey:notepad.exe 4b/25/1/1/0/0/0/0/0/0=",
      "unrule Hotkey:notepad.exe",
      "unrule MouseMap2:notepad.exe Mapped",
      "rule MouseMap2:notepad.exe Mapped=",
      "unrule MouseMap2:game.exe",
      "rule MouseMap2:game.exe KeyState=0/0/0/0/0/0",
      "rule MouseMap2:game.exe Mapped=0/46/21/1/0/0/0/0/0/0/0",
      "unrule TapHold:game.exe",
      "rule TapHold:game.exe 58/2d=59/15/00/10/100",
      "rule TapHold:notepad.exe 44/20=",
      "unrule TapHold:notepad.exe",
  };
  switch (random_() % 5) {
    case 0: {
      const std::string& name = kSwitches[random_() % kSwitches.size()];
      const bool on = !switchedOff_.count(name);
      if (on) {
        switchedOff_.insert(name);
      } else {
        switchedOff_.erase(name);
      }
      return "set " + name + (on ? "=0" : "=1");
    }
    case 1:
      return rules[random_() % rules.size()];
    case 2:
      // The tray's pause and resume, as the pause hotkey's, whatever the editors' pause does.
      if (random_() % 2 == 0) return random_() % 2 == 0 ? "enable 2" : "enable 3";
      paused_ = !paused_;
      return paused_ ? "enable 0" : "enable 1";
    case 3:
      return programRules[random_() % programRules.size()];
    default:
      if (random_() % 8 != 0) return programRules[random_() % programRules.size()];
      hostGone_ = true;
      return "host gone";
  }
}
