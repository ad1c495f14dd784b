#include "program_driver.h"

#include <algorithm>

namespace e2e {
namespace {

// The main window of the process, once it is visible.
HWND FindMainWindow(DWORD processId) {
  for (HWND window : TopLevelWindowsOf(processId)) {
    if (ClassName(window) == kWindowClass && WindowText(window) == kWindowTitle &&
        IsWindowVisible(window)) {
      return window;
    }
  }
  return nullptr;
}

}  // namespace

Program::~Program() { Stop(); }

std::string Program::Start() {
  const std::wstring path = valdremo::drivers::ProgramPath(VALDREMO_EXE_PATH);
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started)) {
    return "cannot start " + Narrow(path) + ": error " + std::to_string(GetLastError());
  }
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  processId_ = started.dwProcessId;

  const bool shown = WaitUntil(
      [&] {
        window_ = FindMainWindow(processId_);
        return window_ != nullptr || !Running();
      },
      kStartTimeoutMs);
  if (window_ == nullptr) {
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return shown ? "the program ended with exit code " + std::to_string(code) +
                       " before showing its window"
                 : "no visible main window within " + std::to_string(kStartTimeoutMs) + " ms";
  }
  threadId_ = GetWindowThreadProcessId(window_, nullptr);
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStepTimeoutMs, &answer)) {
    return "the main window does not answer";
  }
  return "";
}

bool Program::Running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

int Program::FocusedControl() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(threadId_, &info)) return 0;
  for (HWND focus = info.hwndFocus; focus != nullptr; focus = GetParent(focus)) {
    if (GetParent(focus) == window_) return GetDlgCtrlID(focus);
    if ((GetWindowLongW(focus, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  return 0;
}

bool Program::WaitForFocus(int id) const {
  return WaitUntil([&] { return FocusedControl() == id; }, kStepTimeoutMs);
}

bool Program::Activate() const {
  return MakeForeground(window_) &&
         WaitUntil([&] { return FocusedControl() != 0; }, kStepTimeoutMs);
}

// SendInput rather than posting key messages: the program reads Shift with
// GetKeyState, which only input through the system's queue keeps up to date.
void Program::PressKey(WORD virtualKey, bool shift) const {
  INPUT inputs[4]{};
  UINT count = 0;
  auto add = [&](WORD key, bool up) {
    INPUT& input = inputs[count++];
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  };
  if (shift) add(VK_SHIFT, false);
  add(virtualKey, false);
  add(virtualKey, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(count, inputs, sizeof(INPUT));
}

bool Program::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
    return false;
  }
  return GetExitCodeProcess(process_, exitCode) != FALSE;
}

void Program::Stop() {
  if (process_ == nullptr) return;
  if (Running()) {
    if (IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 5000);
    }
  }
  CloseHandle(process_);
  process_ = nullptr;
  window_ = nullptr;
}

bool MakeForeground(HWND window) {
  auto pumpOwnMessages = [] {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  };
  const ULONGLONG end = GetTickCount64() + kStepTimeoutMs;
  do {
    // Without a window manager, Wine hands the X input focus over with the
    // time of the window thread's last message; if another program's focus
    // change is newer, the X server ignores it and the activation falls back
    // to the desktop. A message just taken from the queue, as a user's
    // click would be, makes that time current.
    PostMessageW(window, WM_NULL, 0, 0);
    WaitUntil(
        [&] {
          pumpOwnMessages();
          return false;
        },
        40);
    SetForegroundWindow(window);
    const bool active = WaitUntil(
        [&] {
          pumpOwnMessages();
          return GetForegroundWindow() == window;
        },
        300);
    if (active) return true;
  } while (GetTickCount64() < end);
  return false;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof text[0],
                           reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kStepTimeoutMs,
                           &length)) {
    return L"";
  }
  return std::wstring(text, std::min<DWORD_PTR>(length, sizeof text / sizeof text[0]));
}

RECT ClientRectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace e2e
