#include "drivers/process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <utility>

#include "drivers/text.h"

namespace valdremo::drivers {
namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == found->first) found->second.push_back(window);
  return TRUE;
}

}  // namespace

std::wstring ProgramPath(const char* built) {
  std::wstring path = EnvironmentVariable(L"VALDREMO_EXE");
  if (path.empty()) path = Widen(built);
  return WindowsPath(path);
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  std::pair<DWORD, std::vector<HWND>> found{processId, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, sizeof name / sizeof name[0]);
  return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

void WaitForChildren(DWORD parent, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    std::vector<HANDLE> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
      if (entry.th32ParentProcessID != parent) continue;
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

}  // namespace valdremo::drivers
