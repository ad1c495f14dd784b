// UTF-8 texts of the core, converted for the wide-character Win32 calls so
// they show right whatever the system's code page.
#pragma once

#include <windows.h>

namespace valdremo::win32 {

class Wide {
 public:
  explicit Wide(const char* utf8) {
    if (utf8 == nullptr) utf8 = "";
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, inline_, kInline);
    if (length == 0) {
      length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
      if (length > 0) {
        heap_ = new wchar_t[static_cast<unsigned>(length)];
        MultiByteToWideChar(CP_UTF8, 0, utf8, -1, heap_, length);
      }
    }
  }
  ~Wide() { delete[] heap_; }
  Wide(const Wide&) = delete;
  Wide& operator=(const Wide&) = delete;

  const wchar_t* get() const { return heap_ != nullptr ? heap_ : inline_; }

 private:
  static constexpr int kInline = 128;
  wchar_t inline_[kInline] = {};
  wchar_t* heap_ = nullptr;
};

}  // namespace valdremo::win32
