// Entry point of valdremo.exe.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "shell/program.h"
#include "win32/win32_desktop.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Visual-style controls come from common controls 6, which the manifest
  // asks for; ShellExecute wants COM, apartment-threaded, on its thread.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  int exitCode;
  {
    valdremo::win32::Win32Desktop desktop(instance);
    exitCode = valdremo::RunProgram(desktop);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
