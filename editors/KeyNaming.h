#pragma once

#include <cstdint>
#include <string>

#include "common/HostMessages.h"

// Posted by a rule editor to itself when one of its key fields captured a key: wParam is the
// field's window, lParam the virtual-key code in bits 0-7 and the scan code in bits 16-23.
inline constexpr std::uint32_t WM_KEY_CAPTURED = host_message::kKeyCaptured;

// The text by which every dialog shows a key code pair: the held modifiers as "LCtrl+RCtrl+
// LAlt+RAlt+LShift+RShift+LWin+RWin" (those set, in that order), then the key's name from the
// key-name table, or "[modifiers+vv/ss]" for a pair the table does not name. The flags come in
// the rule file's modifier order: left Ctrl, Alt, Shift, Win, then right Ctrl, Alt, Shift, Win.
std::string FormatKeyName(int virtualKey, int scanCode, std::uint8_t leftCtrl = 0,
                          std::uint8_t leftAlt = 0, std::uint8_t leftShift = 0,
                          std::uint8_t leftWin = 0, std::uint8_t rightCtrl = 0,
                          std::uint8_t rightAlt = 0, std::uint8_t rightShift = 0,
                          std::uint8_t rightWin = 0);

// Windows reports Shift, Ctrl and Alt in key messages by their generic codes; the rule file
// names them by side. The scan code tells the side (0x2A left Shift, 0x36 right Shift) or, for
// Ctrl and Alt, whose right-hand keys share the left's scan code, makes them the left-hand key.
void NormalizeCapturedKey(std::uint8_t& virtualKey, std::uint8_t scanCode);
