// The whole seam between the shell and a desktop (Win32, Qt, or the headless
// one the tests use). The shell decides what happens and in which order; a
// desktop only creates, shows, queries and destroys native objects, and
// reports what the user and the platform did through Shell's Input* calls.
#pragma once

#include <cstdint>

#include "window/definition.h"

namespace valdremo {

class Shell;

// Opaque handle of a native window or control (an HWND, a QWidget*, ...).
using NativeWindow = void*;

struct Rect {
  std::int32_t left, top, width, height;
};

struct Size {
  std::int32_t width, height;
};

enum class Key : std::uint8_t { Tab, Enter, Escape, F1, Other };

struct Modifiers {
  bool ctrl, shift, alt;
  bool Plain() const { return !ctrl && !shift && !alt; }
};

// Window-style bits a control is created with, derived from its definition.
namespace style {
constexpr std::uint32_t kDisabled = 1u << 0;
constexpr std::uint32_t kTabStop = 1u << 1;
}  // namespace style

struct ControlCreateParams {
  const ControlDefinition* definition;
  NativeWindow parent;
  std::uint32_t childId;
  Rect rect;  // relative to the parent's client area
  std::uint32_t styleBits;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // The shell that receives this desktop's Input* reports.
  void Attach(Shell* shell) { shell_ = shell; }

  // Screen: full pixel size of the primary display.
  virtual Size PrimaryScreenSize() = 0;

  // Top-level windows: created hidden, with the definition's title and frame.
  virtual NativeWindow CreateTopLevel(const WindowDefinition& definition, Rect outer) = 0;
  virtual Size OuterSize(NativeWindow window) = 0;
  virtual void SetOuterRect(NativeWindow window, Rect outer) = 0;
  virtual void SetIcons(NativeWindow window) = 0;
  virtual void SetDefaultFont(NativeWindow window) = 0;
  virtual void ShowTopLevel(NativeWindow window) = 0;  // shows and activates
  // Destroys a window with its children; reports InputWindowDestroying and
  // then InputWindowDestroyed for a top-level window.
  virtual void Destroy(NativeWindow window) = 0;

  // Controls: created hidden as children of a top-level window.
  virtual NativeWindow CreateControl(const ControlCreateParams& params) = 0;
  // Puts control directly below `above` in its parent's stack of children,
  // or on top of the stack when `above` is null; never moves or activates.
  virtual void StackBelow(NativeWindow control, NativeWindow above) = 0;
  virtual void ShowControl(NativeWindow control) = 0;  // without activating
  virtual Rect ControlRect(NativeWindow control) = 0;
  virtual bool IsVisible(NativeWindow window) = 0;
  virtual bool IsEnabled(NativeWindow window) = 0;
  virtual void SetFocus(NativeWindow control) = 0;
  // The control of `window` whose native window has the keyboard focus or
  // contains the one that has it (a combo box's edit field counts as the
  // combo box); null when none has.
  virtual NativeWindow FocusedControl(NativeWindow window) = 0;

  // The platform list of a combo box, asked afresh on every call.
  virtual std::int32_t ListSelection(NativeWindow comboBox) = 0;  // -1: none
  virtual std::int32_t ListCount(NativeWindow comboBox) = 0;
  virtual std::int32_t ListItemValue(NativeWindow comboBox, std::int32_t index) = 0;

  // The UI thread's message queue.
  virtual void ProcessPendingMessages() = 0;  // leaves a quit in the queue
  virtual int RunMessageLoop() = 0;           // returns the quit code
  virtual void PostQuit(int code) = 0;

  // Tells the user, in the desktop's own way, that the program cannot start.
  virtual void ReportStartupFailure(const char* message) = 0;
  // Hands a web address to the user's default handler; nothing comes back.
  virtual void OpenAddress(const char* address) = 0;

 protected:
  Shell* shell_ = nullptr;
};

}  // namespace valdremo
