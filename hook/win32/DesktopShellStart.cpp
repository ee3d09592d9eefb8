#include "hook/win32/DesktopShellStart.h"

#include <windows.h>

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlobj.h>

#include "common/win32/ComReference.h"
#include "common/win32/ProcessElevation.h"
#include "common/win32/Win32ProgramNameText.h"

namespace desktop_shell {
namespace {

// A VARIANT holding a text (or nothing), cleared when it goes.
class Argument {
 public:
  Argument() { VariantInit(&value_); }
  explicit Argument(const std::wstring& text) : Argument() {
    value_.vt = VT_BSTR;
    value_.bstrVal = SysAllocString(text.c_str());
  }
  explicit Argument(int number) : Argument() {
    value_.vt = VT_I4;
    value_.lVal = number;
  }
  Argument(const Argument&) = delete;
  Argument& operator=(const Argument&) = delete;
  ~Argument() { VariantClear(&value_); }
  VARIANT& operator*() { return value_; }

 private:
  VARIANT value_;
};

// The rule file's text, as the profile functions read it in the ANSI code page; bytes that are
// no text of it (which no program's path can hold) become nothing.
std::wstring FromAnsi(const std::string& text) {
  const std::optional<std::u16string> wide = Win32ProgramNameText().WideFromAnsi(text);
  return wide ? std::wstring(wide->begin(), wide->end()) : std::wstring();
}

// The desktop's folder view, and from it the shell's automation object, which lives in the
// shell's process (the chain of the shell's documented interfaces).
bool FindShellDispatch(ComReference<IShellDispatch2>& shell) {
  ComReference<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                              windows.OutAsVoid()))) {
    return false;
  }
  Argument desktop(CSIDL_DESKTOP);
  Argument none;
  long window = 0;
  ComReference<IDispatch> found;
  if (windows->FindWindowSW(&*desktop, &*none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                            found.Out()) != S_OK ||
      !found) {
    return false;
  }
  ComReference<IServiceProvider> services;
  ComReference<IShellBrowser> browser;
  ComReference<IShellView> view;
  ComReference<IDispatch> background;
  ComReference<IShellFolderViewDual> folderView;
  ComReference<IDispatch> application;
  return SUCCEEDED(found->QueryInterface(IID_IServiceProvider, services.OutAsVoid())) &&
         SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                          browser.OutAsVoid())) &&
         SUCCEEDED(browser->QueryActiveShellView(view.Out())) &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutAsVoid())) &&
         SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutAsVoid())) &&
         SUCCEEDED(folderView->get_Application(application.Out())) &&
         SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.OutAsVoid()));
}

}  // namespace

std::optional<bool> IsElevated() {
  const HWND shellWindow = GetShellWindow();
  if (shellWindow == nullptr) return std::nullopt;
  DWORD processId = 0;
  GetWindowThreadProcessId(shellWindow, &processId);
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return std::nullopt;
  const std::optional<bool> elevated = TokenIsElevated(process);
  CloseHandle(process);
  return elevated;
}

bool Start(const std::string& file, const std::string& parameters, int show) {
  const HRESULT initialized = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool started = false;
  {
    ComReference<IShellDispatch2> shell;
    if (FindShellDispatch(shell)) {
      BSTR fileText = SysAllocString(FromAnsi(file).c_str());
      Argument arguments(FromAnsi(parameters));
      Argument folder;
      Argument verb(std::wstring(L"open"));
      Argument showAs(show);
      started = SUCCEEDED(shell->ShellExecute(fileText, *arguments, *folder, *verb, *showAs));
      SysFreeString(fileText);
    }
  }
  if (SUCCEEDED(initialized)) CoUninitialize();
  return started;
}

}  // namespace desktop_shell
