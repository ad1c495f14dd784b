// The program's own start and end routines, and the run of one process.
#pragma once

#include "shell/desktop.h"
#include "shell/shell.h"

namespace valdremo {

void OnProgramStart();
void OnProgramEnd();

// Prepares the shell, builds and shows the main window and runs the event
// loop. Returns 0; the process's exit code is shell.exitCode() afterwards.
// A start that fails has already been reported and cleaned up.
int ProgramMain(Shell& shell);

// One whole run: ProgramMain, then the shutdown unless the start failed (a
// failed start has cleaned up already). Answers the code the process exits
// with.
int RunProgram(Shell& shell);
// The same with the program's own window definitions on a desktop.
int RunProgram(Desktop& desktop);

}  // namespace valdremo
