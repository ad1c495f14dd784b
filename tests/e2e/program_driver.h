// Drives a running valdremo.exe from outside, as a user or another program
// would: through its process, its windows and its message queue only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "drivers/browser_log.h"
#include "drivers/process.h"
#include "drivers/text.h"

namespace e2e {

using valdremo::drivers::BrowserLog;
using valdremo::drivers::ClassName;
using valdremo::drivers::EnvironmentVariable;
using valdremo::drivers::Narrow;
using valdremo::drivers::TopLevelWindowsOf;
using valdremo::drivers::Widen;
using valdremo::drivers::WindowsPath;

// Child identifiers of the main window's controls.
enum ControlId : int {
  kWordButton = 100,
  kPaperList = 110,
  kExcelButton = 120,
  kPptButton = 130,
  kGreetingLabel = 140,
  kCommunityNameLabel = 150,
  kCommunityAddressLabel = 160,
};

constexpr wchar_t kWindowClass[] = L"ValdremoWindow";
constexpr wchar_t kWindowTitle[] = L"Valdremo二级office教学视频";

// Every wait in these tests ends after this long at most.
constexpr DWORD kStartTimeoutMs = 10000;
constexpr DWORD kStepTimeoutMs = 3000;

// Polls until the condition holds or the timeout has passed; answers
// whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(15);
  }
}

// One run of valdremo.exe and its main window.
class Program {
 public:
  Program() = default;
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts the program and waits until its main window is shown and
  // answers. Answers what went wrong, or "".
  std::string Start();

  HWND Window() const { return window_; }
  DWORD ProcessId() const { return processId_; }
  DWORD ThreadId() const { return threadId_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  bool Running() const;

  // The child id of the control that has the keyboard focus (the combo
  // box's edit field counts as the combo box); 0 when none of them has it.
  int FocusedControl() const;
  // Waits until the control with that id has the focus; answers whether it
  // did within the step timeout.
  bool WaitForFocus(int id) const;

  // Makes the main window the foreground window and waits until it is
  // active with one of its controls focused.
  bool Activate() const;

  // Key strokes through the system's input queue, to the foreground window
  // (the main window must be active, see Activate).
  void PressKey(WORD virtualKey, bool shift = false) const;

  // Waits for the process to end; answers whether it did, and its exit code.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

  // Closes the window and waits for the process to end; kills it by its
  // handle only if it does not end in time. Called by the destructor.
  void Stop();

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
};

// Makes the window the foreground (active) window; answers whether it is.
// Pumps the calling thread's messages while it waits, so it serves the
// test's own windows too.
bool MakeForeground(HWND window);

// A window's text, also from a window of another process.
std::wstring WindowText(HWND window);

// A control's rectangle in its parent's client area.
RECT ClientRectInParent(HWND control);

}  // namespace e2e
