// The addresses that the session's recording browser (tools/record-browser)
// was asked to open since a BrowserLog was made. The browser runs as a Unix
// process and sees the Unix environment the tests started with, not one a
// Windows program sets, so every program of a run shares one log and each
// reader takes only what was added after it began.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace valdremo::drivers {

class BrowserLog {
 public:
  BrowserLog();
  // The whole lines recorded so far, in order.
  std::vector<std::string> Addresses() const;
  // Waits until at least count addresses are recorded (or the timeout).
  std::vector<std::string> WaitForAddresses(std::size_t count, DWORD timeoutMs) const;

 private:
  std::string Content() const;

  std::wstring path_;
  std::size_t start_ = 0;
};

}  // namespace valdremo::drivers
