#include "app/CHookLibrary.h"

#include "app/AppTexts.h"
#include "app/HookLibraryPaths.h"
#include "ui/CUtilityLib.h"

namespace {

template <typename Function>
Function As(void* address) {
  return reinterpret_cast<Function>(address);
}

}  // namespace

void CHookLibrary::Bind() {
  start_ = As<StartHookFunction>(Export("StartHook"));
  setConfig_ = As<SetConfigINIFunction>(Export("SetConfigINI"));
  enable_ = As<EnableHookStatueFunction>(Export("EnableHookStatue"));
  update_ = As<UpdateValueFunction>(Export("UpdateValue"));
  stop_ = As<StopHookFunction>(Export("StopHook"));
  setDevcon_ = As<SetDevconPathFunction>(Export("SetDevconPath"));
}

bool CHookLibrary::LoadForHost(const std::string& ruleFile, const std::string& deviceTool) {
  if (Load(kFileName, 1) == 0) {
    CUtilityLib::Get().MessageBox(0, app_text::kHookLibraryMissing, app_text::kCaption,
                                  message_box::kOk);
    return false;
  }
  const HookLibraryPaths paths = PathsForHookLibrary(ruleFile, deviceTool);
  setConfig_(paths.ruleFile.c_str());
  setDevcon_(paths.deviceTool.c_str());
  // The program runs on: the switches that need neither path still work.
  if (!paths.warning.empty()) {
    CUtilityLib::Get().MessageBox(0, paths.warning, app_text::kCaption,
                                  message_box::kOk | message_box::kIconExclamation);
  }
  return true;
}

bool CHookLibrary::StartForWindow(WindowHandle mainWindow) {
  const bool started = start_(static_cast<std::int32_t>(mainWindow)) != 0;
  if (!started) {
    CUtilityLib::Get().MessageBox(mainWindow, app_text::kHookStartFailed, app_text::kCaption,
                                  message_box::kOk);
  }
  enable_(1);
  return started;
}

void CHookLibrary::StopAndUnload(WindowHandle mainWindow) {
  if (!IsLoaded()) return;
  if (stop_() == 0) {
    CUtilityLib::Get().MessageBox(mainWindow, app_text::kHookStopFailed, app_text::kCaption,
                                  message_box::kOk);
  }
  enable_(0);
  Free();
}
