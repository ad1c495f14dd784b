#include "running_program.h"

#include <psapi.h>

#include <algorithm>

namespace soak {
namespace {

constexpr wchar_t kTitle[] = L"Valdremo二级office教学视频";
constexpr DWORD kStartTimeoutMs = 15000;

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

RunningProgram::~RunningProgram() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

std::string RunningProgram::Start() {
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
  return valdremo::drivers::TopLevelWindowsOf(processId_);
}

void RunningProgram::WaitForChildren(DWORD timeoutMs) const {
  valdremo::drivers::WaitForChildren(processId_, timeoutMs);
}

bool RunningProgram::Close(DWORD timeoutMs, DWORD* exitCode) {
  PostMessageW(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(process_, exitCode) != FALSE;
}

}  // namespace soak
