// Tastron.exe: the real services and dialog runner, then the application.
#include <windows.h>

#include "app/CVelloranApp.h"
#include "app/win32/SystemVolume.h"
#include "ui/CDialog.h"
#include "ui/CUtilityLib.h"
#include "ui/win32/TextConversion.h"
#include "ui/win32/Win32DialogRunner.h"
#include "ui/win32/Win32Services.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  // For the whole process: each installation goes before what it installed.
  static Win32Services services;
  static const InstalledServices installedServices(services);
  static Win32DialogRunner runner(instance);
  static const InstalledDialogRunner installedRunner(runner);
  InstallVolumeDeviceFactory(&OpenSystemVolume);
  CVelloranApp application;
  return application.Run(WideToUtf8(commandLine != nullptr ? commandLine : L""));
}
