#include "drivers/browser_log.h"

#include <algorithm>

#include "drivers/text.h"

namespace valdremo::drivers {

BrowserLog::BrowserLog() {
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
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  std::vector<std::string> lines = Addresses();
  while (lines.size() < count && GetTickCount64() < end) {
    Sleep(10);
    lines = Addresses();
  }
  return lines;
}

}  // namespace valdremo::drivers
