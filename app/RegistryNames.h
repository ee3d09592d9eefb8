#pragma once

// Where the main program keeps its state in the registry (under HKEY_CURRENT_USER).
namespace registry_name {

inline constexpr const char* kAppKey = "Software\\Orvanne\\Velloran";
inline constexpr const char* kConfigKey = "Software\\Orvanne\\Velloran\\Config";
// The running instance's main window handle, as a number.
inline constexpr const char* kMainWindow = "Main";
inline constexpr const char* kTitle = "Title";

}  // namespace registry_name
