// One valdremo.exe started for a soak and watched from outside: through its
// process handle, its windows and the addresses its browser hand-offs
// recorded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "drivers/browser_log.h"
#include "drivers/process.h"
#include "drivers/text.h"

namespace soak {

using valdremo::drivers::BrowserLog;
using valdremo::drivers::ClassName;
using valdremo::drivers::EnvironmentVariable;
using valdremo::drivers::Narrow;
using valdremo::drivers::Widen;
using valdremo::drivers::WindowsPath;

class RunningProgram {
 public:
  RunningProgram() = default;
  ~RunningProgram();  // ends the process by its handle if it still runs
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Starts the program ($VALDREMO_EXE, else the one this build made) and
  // waits until its main window is visible and answers. Answers what went
  // wrong, or "".
  std::string Start();

  HWND window() const { return window_; }
  DWORD processId() const { return processId_; }
  HANDLE process() const { return process_; }

  // True if the main window answers a message within the time.
  bool Answers(DWORD timeoutMs) const;
  // The process's anonymous resident memory in bytes: under Wine the
  // page-file figure is RssAnon, which every heap allocation that stays
  // shows in; the working set also counts mapped files that come and go.
  SIZE_T Memory() const;
  // The top-level windows of the process, hidden ones included.
  std::vector<HWND> TopLevelWindows() const;
  // Waits until the processes it started (browser hand-offs) have ended.
  void WaitForChildren(DWORD timeoutMs) const;
  // Sends WM_CLOSE and waits for the process to end; false if it did not
  // within the time.
  bool Close(DWORD timeoutMs, DWORD* exitCode);

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

}  // namespace soak
