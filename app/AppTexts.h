#pragma once

// The main program's own texts (UTF-8), used exactly as they stand.
namespace app_text {

inline constexpr const char* kCaption = "Tastron";
inline constexpr const char* kHookLibraryMissing = "trellin_192.dll을 찾을 수가 없습니다.";
inline constexpr const char* kHookStartFailed = "Trellin 시작시 오류가 발생되었습니다";
inline constexpr const char* kHookStopFailed = "Trellin 호출시 오류가 발생되었습니다";

}  // namespace app_text
