#include "program_driver.h"

#include <algorithm>

namespace e2e {
namespace {

// The program under test: $VALDREMO_EXE, else the one this build made.
std::wstring ProgramPath() {
  std::wstring path = EnvironmentVariable(L"VALDREMO_EXE");
  if (path.empty()) path = Widen(VALDREMO_EXE_PATH);
  return WindowsPath(path);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == found->first) found->second.push_back(window);
  return TRUE;
}

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

BrowserLog::BrowserLog() {
  // Where tools/record-browser writes: the environment reaches it from the
  // Unix side only, so a log cannot be chosen per program run; each run
  // reads what was added after it began.
  std::wstring path = EnvironmentVariable(L"VALDREMO_BROWSER_LOG");
  if (path.empty()) {
    const std::wstring session = EnvironmentVariable(L"VALDREMO_WINE_SESSION_DIR");
    path = (session.empty() ? std::wstring(L"/tmp") : session) + L"/browser.log";
  }
  path_ = WindowsPath(path);
  start_ = Content().size();
}

std::string BrowserLog::Content() const {
  std::string content;
  HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  CloseHandle(file);
  return content;
}

std::vector<std::string> BrowserLog::Addresses() const {
  std::vector<std::string> lines;
  const std::string content = Content();
  // Only whole lines: the browser may be writing the last one right now.
  std::size_t start = std::min(start_, content.size());
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(content.substr(start, end - start));
  }
  return lines;
}

std::vector<std::string> BrowserLog::WaitForAddresses(std::size_t count, DWORD timeoutMs) const {
  std::vector<std::string> lines;
  WaitUntil(
      [&] {
        lines = Addresses();
        return lines.size() >= count;
      },
      timeoutMs);
  return lines;
}

Program::~Program() { Stop(); }

std::string Program::Start() {
  const std::wstring path = ProgramPath();
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

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  std::pair<DWORD, std::vector<HWND>> found{processId, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found.second;
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

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, sizeof name / sizeof name[0]);
  return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

RECT ClientRectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace e2e
