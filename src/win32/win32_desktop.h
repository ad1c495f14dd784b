// The Windows desktop: native windows on the plain Win32 API. It creates and
// queries windows as the shell asks and turns window messages into the
// shell's Input* reports; the decisions are the shell's.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "shell/desktop.h"

namespace valdremo::win32 {

// Registered window class names; tests and tools find windows by them.
constexpr wchar_t kWindowClass[] = L"ValdremoWindow";
constexpr wchar_t kLabelClass[] = L"ValdremoLabel";

// The private message any process may send a label; answered by the
// label's feedback event.
constexpr UINT kLabelFeedbackMessage = WM_APP + 0x75;

// The title of the window that, when present, owns the desktop's own
// messages about opening an address.
constexpr wchar_t kBrowserOwnerTitle[] = L"Microsoft Internet Explorer";

class Win32Desktop : public Desktop {
 public:
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);

  explicit Win32Desktop(HINSTANCE instance);
  ~Win32Desktop() override;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  // Replaceable so a test can see the request without a browser.
  ShellExecuteFn shellExecute = &ShellExecuteW;

  Size PrimaryScreenSize() override;
  NativeWindow CreateTopLevel(const WindowDefinition& definition, Rect outer) override;
  Size OuterSize(NativeWindow window) override;
  void SetOuterRect(NativeWindow window, Rect outer) override;
  void SetIcons(NativeWindow window) override;
  void SetDefaultFont(NativeWindow window) override;
  void ShowTopLevel(NativeWindow window) override;
  void Destroy(NativeWindow window) override;
  NativeWindow CreateControl(const ControlCreateParams& params) override;
  void StackBelow(NativeWindow control, NativeWindow above) override;
  void ShowControl(NativeWindow control) override;
  Rect ControlRect(NativeWindow control) override;
  bool IsVisible(NativeWindow window) override;
  bool IsEnabled(NativeWindow window) override;
  void SetFocus(NativeWindow control) override;
  NativeWindow FocusedControl(NativeWindow window) override;
  std::int32_t ListSelection(NativeWindow comboBox) override;
  std::int32_t ListCount(NativeWindow comboBox) override;
  std::int32_t ListItemValue(NativeWindow comboBox, std::int32_t index) override;
  void ProcessPendingMessages() override;
  int RunMessageLoop() override;
  void PostQuit(int code) override;
  void ReportStartupFailure(const char* message) override;
  void OpenAddress(const char* address) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);

  LRESULT OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnLabelMessage(HWND label, UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(HWND control, UINT code);
  HBRUSH OnControlColour(HDC dc, HWND child);
  void PaintLabel(HWND label);
  // Offers a key-down to the window that holds its target; true if consumed.
  bool PreTranslate(const MSG& message);
  HWND CreateComboBox(const ControlCreateParams& params, DWORD style);
  bool RegisterClasses();

  struct ComboBrush {
    HWND comboBox;
    HBRUSH brush;
  };
  static constexpr int kMaxComboBoxes = 4;

  HINSTANCE instance_;
  bool classesRegistered_ = false;
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  bool iconsLoaded_ = false;
  ComboBrush brushes_[kMaxComboBoxes] = {};
  int brushCount_ = 0;
};

}  // namespace valdremo::win32
