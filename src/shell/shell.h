// The application shell: holds the window definitions and what was built from
// them, carries every control event to its bound handler, and decides what a
// close request, a key or an activation does. One Shell per process, owned by
// the program's entry point; it reaches the desktop only through Desktop.
#pragma once

#include <cstddef>
#include <cstdint>

#include "shell/desktop.h"
#include "window/definition.h"

namespace valdremo {

// What a control hands to RaiseEvent when it reports an event.
struct EventNotice {
  std::uint32_t windowId;
  std::uint32_t controlId;  // the window's own entry for a window event
  std::int32_t event;
  std::int32_t argCount;  // 0 to 5
  std::int32_t args[5];
  std::int32_t returnedFlag;  // set by RaiseEvent
  std::int32_t returnedValue;
};

using EndRoutine = void (*)();

class Shell {
 public:
  static constexpr std::size_t kMaxWindows = 4;
  static constexpr std::size_t kMaxControls = 16;
  static constexpr std::size_t kMaxEndRoutines = 8;
  static constexpr std::int32_t kFailureExitCode = -1;

  // `definitions` is the program's static table; it must outlive the shell.
  Shell(Desktop& desktop, const WindowDefinition* const* definitions, std::size_t count);
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  Desktop& desktop() { return desktop_; }

  // Start-up and shutdown.
  bool InitializeShell();
  void RegisterEndRoutine(EndRoutine routine);
  bool BuildWindow(std::uint32_t windowId);
  void BeginConstruction();
  void EndConstruction();
  void ProcessPendingMessages();
  void RunEventLoop();
  bool RaiseEvent(EventNotice& notice);
  void ShutdownShell();
  // Ends a start that failed: tells the user, drops the end routines unrun,
  // silences the handlers and cleans up. The process then exits with -1.
  void FailStart(const char* message);
  // The code the process exits with: the quit message's, 0 if the loop never ran.
  int exitCode() const { return exitCode_; }
  bool startFailed() const { return startFailed_; }

  // Control lookup and the reads the program makes.
  NativeWindow FindNativeWindow(std::uint32_t windowId) const;
  NativeWindow FindControl(std::uint32_t windowId, std::uint32_t controlId) const;
  // Property by number: 0-7 are common to all kinds, 19 is the combo box's
  // current selection. Answers false for a number or control it does not know.
  bool ReadProperty(std::uint32_t windowId, std::uint32_t controlId, int number,
                    std::int32_t* value, const char** text = nullptr);
  std::int32_t CurrentSelection(std::uint32_t windowId, std::uint32_t controlId);
  std::int32_t ItemValue(std::uint32_t windowId, std::uint32_t controlId, std::int32_t index);

  // Reports from the desktop.
  void InputControlEvent(NativeWindow control, std::int32_t event);
  std::int32_t InputLabelFeedback(NativeWindow label, std::int32_t wParam, std::int32_t lParam);
  void InputWindowEvent(NativeWindow window, std::int32_t event);
  void InputCloseRequest(NativeWindow window);
  // The user logs off or the system shuts down: false when a close-query
  // handler refuses.
  bool InputEndSessionQuery(NativeWindow window);
  void InputWindowDestroying(NativeWindow window);
  void InputWindowDestroyed(NativeWindow window);
  void InputWindowActivated(NativeWindow window);
  void InputWindowDeactivated(NativeWindow window);
  // A key-down somewhere inside `window`, offered before the focused control
  // sees it. True when the window consumed it.
  bool InputKeyDown(NativeWindow window, Key key, Modifiers modifiers);

  // Introspection for the desktops and the tests.
  const ControlDefinition* ControlOf(NativeWindow control) const;
  std::int32_t suppressionDepth() const { return suppressionDepth_; }
  bool loopStarted() const { return loopStarted_; }
  std::size_t endRoutineCount() const { return endRoutineCount_; }
  // The focusable controls in Tab order at this moment.
  std::size_t TabSequence(NativeWindow window, NativeWindow* out, std::size_t capacity);

 private:
  struct WindowState {
    const WindowDefinition* definition;
    NativeWindow native;
    NativeWindow controls[kMaxControls];  // in definition order
    NativeWindow rememberedFocus;
  };

  WindowState* StateOf(std::uint32_t windowId);
  WindowState* StateOfNative(NativeWindow window);
  const WindowState* StateOfNative(NativeWindow window) const;
  bool FindOwner(NativeWindow control, WindowState** window, std::size_t* index);
  bool AnyWindowOpen() const;
  bool Raise(const WindowState& window, std::uint32_t controlId, std::int32_t event,
             std::int32_t argCount = 0, const std::int32_t* args = nullptr,
             EventNotice* result = nullptr);
  bool RaiseWindowEvent(WindowState& window, std::int32_t event, EventNotice* result = nullptr);
  void DestroyPartialWindow(WindowState& window);
  void GiveFocus(WindowState& window);
  bool ClickDefaultButton(WindowState& window, NativeWindow focused);
  void MoveFocus(WindowState& window, bool backwards);
  bool ControlAlive(const WindowState& window, NativeWindow control) const;

  Desktop& desktop_;
  const WindowDefinition* const* sources_;
  std::size_t sourceCount_;
  WindowState windows_[kMaxWindows] = {};
  std::size_t windowCount_ = 0;
  EndRoutine endRoutines_[kMaxEndRoutines] = {};
  std::size_t endRoutineCount_ = 0;
  std::int32_t suppressionDepth_ = 0;
  bool loopStarted_ = false;
  int exitCode_ = 0;
  bool startFailed_ = false;
};

}  // namespace valdremo
