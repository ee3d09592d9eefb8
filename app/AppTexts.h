#pragma once

// The main program's own texts (UTF-8), used exactly as they stand.
namespace app_text {

inline constexpr const char* kCaption = "Tastron";
inline constexpr const char* kHookLibraryMissing = "trellin_192.dll을 찾을 수가 없습니다.";
inline constexpr const char* kHookStartFailed = "Trellin 시작시 오류가 발생되었습니다";
inline constexpr const char* kHookStopFailed = "Trellin 호출시 오류가 발생되었습니다";

// The restart as administrator did not happen (the consent prompt refused, or no start).
inline constexpr const char* kElevatedRestartFailed =
    "관리자 권한으로 다시 시작하지 못했습니다.\n\n아무것도 바뀌지 않았습니다. Tastron은 지금처럼 "
    "계속 동작합니다.";

// The start at logon as administrator: a task of the highest rights takes an elevated Tastron
// to register or remove.
inline constexpr const char* kLogonTaskNotRegistered =
    "관리자 권한 자동실행을 작업 스케줄러에 등록하지 못했습니다.\n\n아무것도 바뀌지 "
    "않았습니다. 파일 메뉴의 \"관리자 권한으로 다시 시작\"으로 Tastron을 다시 시작한 뒤 다시 "
    "시도해 주세요.";
inline constexpr const char* kLogonTaskNotRemoved =
    "작업 스케줄러에서 관리자 권한 자동실행을 지우지 못했습니다.\n\n아무것도 바뀌지 "
    "않았습니다. 파일 메뉴의 \"관리자 권한으로 다시 시작\"으로 Tastron을 다시 시작한 뒤 다시 "
    "시도해 주세요.";

// When a path has no form in the system's code page (the hook library takes no other), each
// message shows the path between its two parts.
inline constexpr const char* kRuleFilePathUnusable =
    "규칙 파일의 경로를 trellin_192.dll이 사용할 수 없습니다.\n\n";
inline constexpr const char* kRuleFilePathEffect =
    "\n\n경로에 시스템 언어 설정으로 쓸 수 없는 문자가 있어서 키보드 맵핑, HOTKEY, 마우스 중간 "
    "버튼 설정과 LCD 끈 후 마우스 끄기 기능이 동작하지 않습니다. 다른 기능은 그대로 "
    "동작합니다.\n\n폴더 이름에 그런 문자가 없는 사용자 폴더(예: 영문 이름)를 사용해 주세요.";
inline constexpr const char* kDeviceToolPathUnusable =
    "장치 도구의 경로를 trellin_192.dll이 사용할 수 없습니다.\n\n";
inline constexpr const char* kDeviceToolPathEffect =
    "\n\n경로에 시스템 언어 설정으로 쓸 수 없는 문자가 있어서 LCD 끈 후 마우스 끄기 기능이 "
    "동작하지 않습니다. 다른 기능은 그대로 동작합니다.\n\nTastron을 이름에 그런 문자가 없는 "
    "폴더(예: 영문 이름)에 두어 주세요.";

}  // namespace app_text
