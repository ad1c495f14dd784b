// Text and path helpers shared by the programs that drive valdremo.exe from
// outside (the end-to-end tests and the soak).
#pragma once

#include <string>

namespace valdremo::drivers {

// A Unix path as a Wine program sees it (Wine's Z: drive is the Unix root);
// anything else is returned unchanged.
std::wstring WindowsPath(const std::wstring& path);
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);
// The variable's value, or empty when it is not set.
std::wstring EnvironmentVariable(const wchar_t* name);

}  // namespace valdremo::drivers
