#include "running_program.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>

namespace soak {
namespace {

constexpr wchar_t kTitle[] = L"Valdremo二级office教学视频";
constexpr DWORD kStartTimeoutMs = 15000;

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

// Found by its title: the soak runs as well against another program that
// shows the same window (the bench's reference program, say).
HWND FindMainWindow(DWORD processId) {
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, kTitle));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

}  // namespace

BrowserLog::BrowserLog() {
  std::wstring path = EnvironmentVariable(L"VALDREMO_BROWSER_LOG");
  if (path.empty()) path = EnvironmentVariable(L"VALDREMO_WINE_SESSION_DIR") + L"/browser.log";
  path_ = WindowsPath(path);
  start_ = Content().size();
}

std::string BrowserLog::Content() const {
  HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  CloseHandle(file);
  return content;
}

std::vector<std::string> BrowserLog::Addresses() const {
  const std::string content = Content();
  std::vector<std::string> lines;
  // Whole lines only: the browser may be writing the last one right now.
  std::size_t start = start_;
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(content.substr(start, end - start));
  }
  return lines;
}

RunningProgram::~RunningProgram() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

std::string RunningProgram::Start() {
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

  const ULONGLONG end = GetTickCount64() + kStartTimeoutMs;
  while ((window_ = FindMainWindow(processId_)) == nullptr) {
    if (WaitForSingleObject(process_, 10) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process_, &code);
      return "the program ended with exit code " + std::to_string(code) + " before its window";
    }
    if (GetTickCount64() > end) return "no main window within 15 s";
  }
  return Answers(kStartTimeoutMs) ? "" : "the main window does not answer";
}

bool RunningProgram::Answers(DWORD timeoutMs) const {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &answer) != 0;
}

SIZE_T RunningProgram::Memory() const {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process_, &counters, sizeof counters)) return 0;
  return counters.PagefileUsage;
}

std::vector<HWND> RunningProgram::TopLevelWindows() const {
  std::pair<DWORD, std::vector<HWND>> found{processId_, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

void RunningProgram::WaitForChildren(DWORD timeoutMs) const {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    std::vector<HANDLE> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
      if (entry.th32ParentProcessID != processId_) continue;
      if (HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
        children.push_back(child);
      }
    }
    CloseHandle(snapshot);
    if (children.empty()) return;
    for (HANDLE child : children) {
      const ULONGLONG now = GetTickCount64();
      WaitForSingleObject(child, now < end ? static_cast<DWORD>(end - now) : 0);
      CloseHandle(child);
    }
    if (GetTickCount64() >= end) return;
  }
}

bool RunningProgram::Close(DWORD timeoutMs, DWORD* exitCode) {
  PostMessageW(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(process_, exitCode) != FALSE;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, sizeof name / sizeof name[0]);
  return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

}  // namespace soak
