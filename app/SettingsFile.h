#pragma once

#include <string>

#include "ui/DialogHost.h"

// Settings files (.cfg): the main window's options and copies of the rule sections (the three
// for all programs, then each program's own), to carry a user's set-up to another computer or
// back to an earlier state.
namespace settings_file {

inline constexpr const char* kFilter = "설정 파일(*.cfg)|*.cfg||";
inline constexpr const char* kExportTitle = "설정 저장";
inline constexpr const char* kImportTitle = "설정 파일 선택";
inline constexpr const char* kOverwriteQuestion =
    "이미 파일이 존재합니다.\n\n파일을 덮어 쓰겠습니까?";
inline constexpr const char* kExportFailed =
    "설정 파일을 저장하지 못했습니다. 설정이 저장되지 않았습니다.\n\n";
inline constexpr const char* kNotASettingsFile =
    "설정 파일이 아닙니다([KeyState] 섹션이 없습니다).\n\n아무 설정도 바뀌지 않았습니다.\n\n";
inline constexpr const char* kRuleFileNotReplaced =
    "키보드 맵핑, HOTKEY, 마우스 중간 버튼 설정을 규칙 파일에 쓰지 못했습니다.\n\n아무 설정도 "
    "바뀌지 않았습니다. 이전 설정이 그대로 남아 있습니다.\n\n규칙 파일이 읽기 전용이거나, 디스크가 "
    "가득 찼거나, 다른 프로그램이 사용 중인지 확인한 뒤 다시 시도하십시오.\n\n";
inline constexpr const char* kSectionTooLarge =
    "설정 파일의 섹션이 너무 커서 끝까지 읽을 수 없습니다. 아무 설정도 바뀌지 않았습니다.\n\n";
// A settings file from before rules for one program, or from a set-up without them: whether
// the rule file's own programs keep theirs. The first button, the default, keeps them.
inline constexpr const char* kKeepProgramRulesQuestion =
    "이 설정 파일에는 프로그램별 규칙이 없습니다.\n\n지금 있는 프로그램별 규칙을 그대로 두겠습니까?"
    "\n\n[예]: 그대로 둡니다.\n[아니요]: 프로그램별 규칙을 모두 지웁니다.\n[취소]: 불러오지 "
    "않습니다.";
inline constexpr const char* kOptionsNotWritten =
    "설정을 레지스트리에 쓰지 못했습니다.\n\n이전 설정과 키보드 맵핑, HOTKEY, 마우스 중간 버튼 "
    "설정으로 되돌렸습니다.";

// Asks for a file name and writes the options as `window` shows them and the rule sections of
// `ruleFile` into it. A failed write is reported: the user must not believe the settings saved.
void Export(DialogHost& window, const std::string& ruleFile);

// Asks for a settings file and takes its options into the registry and its rule sections into
// `ruleFile`. True when something changed: the window must load its options again. A file that
// is no settings file, or a rule file that cannot be rewritten, changes nothing at all.
bool Import(WindowHandle owner, const std::string& ruleFile);

}  // namespace settings_file
