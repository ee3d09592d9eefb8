#pragma once

#include <cstdint>

// Message numbers shared by the hook library, the main program and its helpers.
namespace host_message {

// Posted by the hook library: a volume step. wParam 0 master, 1 wave; lParam the signed step.
inline constexpr std::uint32_t kVolumeStep = 0x466;
// Posted by the hook library: wParam nonzero starts the away-mode watchdog, 0 stops it.
inline constexpr std::uint32_t kAwayMode = 0x468;
// Posted by the hook library when it had to install its hooks again (the system had removed
// them): wParam 1 when both are in place again, 0 when installing failed (tried again later).
inline constexpr std::uint32_t kHooksInstalledAgain = 0x469;
// Posted by the hook library when the user paused it (wParam 1: the pause hotkey, or
// EnableHookStatue 2) or resumed it (wParam 0).
inline constexpr std::uint32_t kUserPause = 0x46A;
// Posted by a markup text when a link is clicked; lParam is a heap copy of the link target.
inline constexpr std::uint32_t kLinkClicked = 0x7F0E;
// Sent by a second instance: come to the front, answered with kBringToFrontAnswer.
inline constexpr std::uint32_t kBringToFront = 0x7F11;
inline constexpr std::uint32_t kBringToFrontAnswer = 0x8080;
// Sent by an instance started to take over (restarted as administrator): let go of the hooks,
// the tray icon and "Main", then end; answered with kTakeOverAnswer once all of that is done.
inline constexpr std::uint32_t kTakeOver = 0x7F12;
inline constexpr std::uint32_t kTakeOverAnswer = 0x8081;
// Posted by the main program's foreground watch when another window came to the front.
inline constexpr std::uint32_t kForegroundChanged = 0x7F13;
// Posted by the tray icon window when the icon is activated.
inline constexpr std::uint32_t kTrayActivate = 0x8114;
// Sent by the tray icon window when the user asks for the icon's menu (a right click).
inline constexpr std::uint32_t kTrayMenu = 0x8115;
// Posted by a rule editor to itself when a key field captured a key.
inline constexpr std::uint32_t kKeyCaptured = 0x7D18;

}  // namespace host_message
