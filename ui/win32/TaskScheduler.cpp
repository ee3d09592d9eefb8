#include "ui/win32/TaskScheduler.h"

#include <windows.h>

#include <oleauto.h>
#include <taskschd.h>
#define SECURITY_WIN32
#include <security.h>

#include "common/win32/ComReference.h"

namespace task_scheduler {
namespace {

// A BSTR for the length of a call.
class Text {
 public:
  explicit Text(const std::wstring& text) : text_(SysAllocString(text.c_str())) {}
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { SysFreeString(text_); }
  operator BSTR() const { return text_; }

 private:
  BSTR text_;
};

// The root folder of the local task scheduler, or none.
bool OpenRootFolder(ComReference<ITaskFolder>& folder) {
  ComReference<ITaskService> service;
  if (FAILED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                              service.OutAsVoid()))) {
    return false;
  }
  VARIANT none;
  VariantInit(&none);
  if (FAILED(service->Connect(none, none, none, none))) return false;
  return SUCCEEDED(service->GetFolder(Text(L"\\"), folder.Out()));
}

}  // namespace

std::wstring UserAccount() {
  wchar_t name[512];
  ULONG size = sizeof name / sizeof name[0];
  if (GetUserNameExW(NameSamCompatible, name, &size)) return name;
  DWORD plainSize = sizeof name / sizeof name[0];
  return GetUserNameW(name, &plainSize) ? name : L"";
}

bool Register(const std::wstring& name, const std::wstring& xml) {
  ComReference<ITaskFolder> folder;
  if (!OpenRootFolder(folder)) return false;
  VARIANT none;
  VariantInit(&none);
  ComReference<IRegisteredTask> task;
  return SUCCEEDED(folder->RegisterTask(Text(name), Text(xml), TASK_CREATE_OR_UPDATE, none, none,
                                        TASK_LOGON_INTERACTIVE_TOKEN, none, task.Out()));
}

bool Exists(const std::wstring& name) {
  ComReference<ITaskFolder> folder;
  if (!OpenRootFolder(folder)) return false;
  ComReference<IRegisteredTask> task;
  return SUCCEEDED(folder->GetTask(Text(name), task.Out())) && task;
}

bool Delete(const std::wstring& name) {
  ComReference<ITaskFolder> folder;
  if (!OpenRootFolder(folder)) return false;
  return SUCCEEDED(folder->DeleteTask(Text(name), 0));
}

}  // namespace task_scheduler
