#include "shell/program.h"

#include "window/main_window.h"

namespace valdremo {

void OnProgramStart() {}

void OnProgramEnd() {}

namespace {
// Shown when the main window cannot be made; the desktop adds its own frame.
constexpr char kCannotStart[] = "程序无法启动：主窗口无法创建。";
}  // namespace

int ProgramMain(Shell& shell) {
  if (!shell.InitializeShell()) {
    shell.FailStart(kCannotStart);
    return 0;
  }
  OnProgramStart();
  shell.RegisterEndRoutine(&OnProgramEnd);
  if (!shell.BuildWindow(kMainWindowId)) {
    shell.FailStart(kCannotStart);
    return 0;
  }
  shell.RunEventLoop();
  return 0;
}

int RunProgram(Shell& shell) {
  ProgramMain(shell);
  if (!shell.startFailed()) shell.ShutdownShell();
  return shell.exitCode();
}

int RunProgram(Desktop& desktop) {
  Shell shell(desktop, ProgramWindowDefinitions(), ProgramWindowDefinitionCount());
  return RunProgram(shell);
}

}  // namespace valdremo
