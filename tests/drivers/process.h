// What the programs that drive valdremo.exe from outside (the end-to-end
// tests, the soak and the benchmark) need of another process and its windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace valdremo::drivers {

// The program to drive: $VALDREMO_EXE, else the one this build made, as a
// path Wine's programs understand.
std::wstring ProgramPath(const char* built);

// The top-level windows that belong to the process, in Z order.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);

std::wstring ClassName(HWND window);

// Waits until the processes that `parent` started have ended (its browser
// hand-offs), or the timeout has passed.
void WaitForChildren(DWORD parent, DWORD timeoutMs);

}  // namespace valdremo::drivers
