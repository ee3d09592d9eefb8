#include "editors/BuiltInCommands.h"

namespace {

constexpr const char* kSeparator = "-------------------------";
constexpr const char* kControl = "\\system32\\control.exe";

constexpr BuiltInCommand kCommands[] = {
    {"기능 선택", 0, "", ""},
    {kSeparator, 0, "", ""},
    {"[Command]창 열기", 15, "\\system32\\cmd.exe", ""},
    {kSeparator, 0, "", ""},
    {"[탐색기]로 폴더 열기", kFolderPreset, "\\explorer.exe", ""},
    {"[시스템 등록정보] 열기", 2, kControl, "sysdm.cpl"},
    {"[디스플레이 정보] 열기", 8, kControl, "desk.cpl"},
    {kSeparator, 0, "", ""},
    {"[제어판] 열기", 3, kControl, ""},
    {"[관리도구] 열기", 4, kControl, "Admintools"},
    {"[컴퓨터관리] 열기", 5, "\\system32\\compmgmt.msc", ""},
    {"[장치관리자] 열기", 6, "\\system32\\devmgmt.msc", ""},
    {"[디스크관리] 열기", 7, "\\system32\\diskmgmt.msc", ""},
    {kSeparator, 0, "", ""},
    {"[프로그램 추가/삭제] 열기", 9, kControl, "appwiz.cpl"},
    {"[프린터 및 팩스] 열기", 12, kControl, "printers"},
    {kSeparator, 0, "", ""},
    {"[서비스] 열기", 10, "\\system32\\services.msc", ""},
    {"[성능] 열기", 11, "\\system32\\perfmon.msc", ""},
    {"[예약된 작업] 열기", 13, kControl, "schedtasks"},
    {"[이벤트뷰어] 열기", 14, "\\system32\\eventvwr.msc", ""},
    {kSeparator, 0, "", ""},
    {kPauseTastronText, kPauseTastronPreset, "", ""},
};

}  // namespace

std::span<const BuiltInCommand> BuiltInCommands() {
  return kCommands;
}
