#include "shell/shell.h"

#include <cstring>

namespace valdremo {
namespace {

// A combo box with a drop-down list is made at least this tall: the height
// covers the field and the dropped list.
constexpr std::int32_t kMinimumDropDownHeight = 160;

// Child identifiers start here and step by ten, in creation order.
constexpr std::uint32_t kFirstChildId = 100;
constexpr std::uint32_t kChildIdStep = 10;

const EventBinding* FirstBinding(const EventBinding* bindings, std::size_t count,
                                 std::int32_t event) {
  for (std::size_t i = 0; i < count; ++i) {
    if (bindings[i].event == event) return &bindings[i];
  }
  return nullptr;
}

Rect CreationRect(const ControlDefinition& control) {
  Rect rect{control.left, control.top, control.width, control.height};
  if (control.kind == ControlKind::ComboBox && rect.height < kMinimumDropDownHeight) {
    rect.height = kMinimumDropDownHeight;
  }
  return rect;
}

}  // namespace

Shell::Shell(Desktop& desktop, const WindowDefinition* const* definitions, std::size_t count)
    : desktop_(desktop), sources_(definitions), sourceCount_(count) {
  desktop_.Attach(this);
}

bool Shell::InitializeShell() {
  windowCount_ = 0;
  for (std::size_t i = 0; i < sourceCount_; ++i) {
    const WindowDefinition* definition = sources_[i];
    if (definition == nullptr || windowCount_ == kMaxWindows ||
        definition->controlCount > kMaxControls) {
      return false;
    }
    windows_[windowCount_++] = WindowState{definition, nullptr, {}, nullptr};
  }
  return windowCount_ > 0;
}

void Shell::RegisterEndRoutine(EndRoutine routine) {
  if (routine == nullptr) return;
  for (std::size_t i = 0; i < endRoutineCount_; ++i) {
    if (endRoutines_[i] == routine) return;
  }
  if (endRoutineCount_ < kMaxEndRoutines) endRoutines_[endRoutineCount_++] = routine;
}

void Shell::BeginConstruction() {
  ProcessPendingMessages();
  ++suppressionDepth_;
}

void Shell::EndConstruction() {
  ProcessPendingMessages();
  if (suppressionDepth_ > 0) --suppressionDepth_;
}

void Shell::ProcessPendingMessages() { desktop_.ProcessPendingMessages(); }

bool Shell::BuildWindow(std::uint32_t windowId) {
  WindowState* window = StateOf(windowId);
  if (window == nullptr) return false;
  const WindowDefinition& definition = *window->definition;

  BeginConstruction();

  Rect outer{definition.left, definition.top, definition.width, definition.height};
  if (definition.startPosition == StartPosition::CentreScreen) {
    const Size screen = desktop_.PrimaryScreenSize();
    // Integer division truncating toward zero: a screen narrower than the
    // window puts its left edge off screen, as users of small displays see.
    outer.left = (screen.width - definition.width) / 2;
    outer.top = (screen.height - definition.height) / 2;
  }
  window->native = desktop_.CreateTopLevel(definition, outer);
  if (window->native == nullptr) {
    --suppressionDepth_;
    return false;
  }

  // Platforms may adjust the size for their frame; the outer size is fixed.
  const Size size = desktop_.OuterSize(window->native);
  if (size.width != definition.width || size.height != definition.height) {
    desktop_.SetOuterRect(window->native, outer);
  }
  desktop_.SetIcons(window->native);
  desktop_.SetDefaultFont(window->native);

  // Created last to first, so the first control gets the highest identifier.
  std::uint32_t childId = kFirstChildId;
  for (std::size_t i = definition.controlCount; i-- > 0;) {
    const ControlDefinition& control = definition.controls[i];
    std::uint32_t styleBits = 0;
    if (control.disabled) styleBits |= style::kDisabled;
    if (control.tabStop) styleBits |= style::kTabStop;
    const ControlCreateParams params{&control, window->native, childId, CreationRect(control),
                                     styleBits};
    window->controls[i] = desktop_.CreateControl(params);
    if (window->controls[i] == nullptr) {
      DestroyPartialWindow(*window);
      --suppressionDepth_;
      return false;
    }
    childId += kChildIdStep;
  }

  // Every control's parent is the window itself, so each goes directly below
  // the one defined before it, the first on top.
  for (std::size_t i = 0; i < definition.controlCount; ++i) {
    NativeWindow above = nullptr;
    for (std::size_t j = i; j-- > 0;) {
      if (definition.controls[j].parent == definition.controls[i].parent) {
        above = window->controls[j];
        break;
      }
    }
    desktop_.StackBelow(window->controls[i], above);
  }
  for (std::size_t i = 0; i < definition.controlCount; ++i) {
    if (definition.controls[i].visible) desktop_.ShowControl(window->controls[i]);
  }

  EndConstruction();

  constexpr std::int32_t kBuiltEvents[] = {event::kWindowCreated, event::kWindowMoved,
                                           event::kWindowResized};
  for (std::int32_t event : kBuiltEvents) {
    if (window->native == nullptr) return true;
    RaiseWindowEvent(*window, event);
  }
  if (window->native == nullptr) return true;

  if (definition.visible) {
    desktop_.ShowTopLevel(window->native);
    if (window->native == nullptr) return true;
    const NativeWindow focused = desktop_.FocusedControl(window->native);
    if (const ControlDefinition* control = ControlOf(focused)) {
      Raise(*window, control->id, event::kGotFocus);
    }
  }
  return true;
}

void Shell::DestroyPartialWindow(WindowState& window) {
  // Destroying the top-level window takes the controls made so far with it.
  const NativeWindow native = window.native;
  if (native != nullptr) desktop_.Destroy(native);
  window.native = nullptr;
  for (NativeWindow& control : window.controls) control = nullptr;
}

void Shell::RunEventLoop() {
  loopStarted_ = true;
  if (!AnyWindowOpen()) return;
  exitCode_ = desktop_.RunMessageLoop();
}

bool Shell::RaiseEvent(EventNotice& notice) {
  if (suppressionDepth_ >= 1) return false;

  const WindowState* window = nullptr;
  for (std::size_t i = 0; i < windowCount_; ++i) {
    if (windows_[i].definition->id == notice.windowId) window = &windows_[i];
  }
  if (window == nullptr) return false;

  const WindowDefinition& definition = *window->definition;
  const EventBinding* binding = nullptr;
  if (notice.controlId == definition.selfId) {
    binding = FirstBinding(definition.bindings, definition.bindingCount, notice.event);
  } else {
    for (std::size_t i = 0; i < definition.controlCount; ++i) {
      const ControlDefinition& control = definition.controls[i];
      if (control.id == notice.controlId) {
        binding = FirstBinding(control.bindings, control.bindingCount, notice.event);
        break;
      }
    }
  }
  if (binding == nullptr || binding->handler == nullptr) return false;

  std::int32_t args[5] = {};
  const std::int32_t count = notice.argCount < 0 ? 0 : (notice.argCount > 5 ? 5 : notice.argCount);
  for (std::int32_t i = 0; i < count; ++i) args[i] = notice.args[i];

  const HandlerResult result = binding->handler(*this, args);
  if (result.returned) {
    notice.returnedFlag = 1;
    notice.returnedValue = result.value;
  }
  return true;
}

void Shell::FailStart(const char* message) {
  desktop_.ReportStartupFailure(message);
  endRoutineCount_ = 0;
  ++suppressionDepth_;
  for (std::size_t i = 0; i < windowCount_; ++i) DestroyPartialWindow(windows_[i]);
  ShutdownShell();
  startFailed_ = true;
  exitCode_ = kFailureExitCode;
}

void Shell::ShutdownShell() {
  ++suppressionDepth_;
  windowCount_ = 0;
  // Run and forget them, so a second shutdown runs nothing twice.
  const std::size_t count = endRoutineCount_;
  endRoutineCount_ = 0;
  for (std::size_t i = 0; i < count; ++i) endRoutines_[i]();
}

Shell::WindowState* Shell::StateOf(std::uint32_t windowId) {
  for (std::size_t i = 0; i < windowCount_; ++i) {
    if (windows_[i].definition->id == windowId) return &windows_[i];
  }
  return nullptr;
}

Shell::WindowState* Shell::StateOfNative(NativeWindow window) {
  if (window == nullptr) return nullptr;
  for (std::size_t i = 0; i < windowCount_; ++i) {
    if (windows_[i].native == window) return &windows_[i];
  }
  return nullptr;
}

const Shell::WindowState* Shell::StateOfNative(NativeWindow window) const {
  return const_cast<Shell*>(this)->StateOfNative(window);
}

bool Shell::FindOwner(NativeWindow control, WindowState** window, std::size_t* index) {
  if (control == nullptr) return false;
  for (std::size_t w = 0; w < windowCount_; ++w) {
    for (std::size_t i = 0; i < windows_[w].definition->controlCount; ++i) {
      if (windows_[w].controls[i] == control) {
        *window = &windows_[w];
        *index = i;
        return true;
      }
    }
  }
  return false;
}

const ControlDefinition* Shell::ControlOf(NativeWindow control) const {
  WindowState* window = nullptr;
  std::size_t index = 0;
  if (!const_cast<Shell*>(this)->FindOwner(control, &window, &index)) return nullptr;
  return &window->definition->controls[index];
}

bool Shell::AnyWindowOpen() const {
  for (std::size_t i = 0; i < windowCount_; ++i) {
    if (windows_[i].native != nullptr) return true;
  }
  return false;
}

bool Shell::Raise(const WindowState& window, std::uint32_t controlId, std::int32_t event,
                  std::int32_t argCount, const std::int32_t* args, EventNotice* result) {
  EventNotice notice{window.definition->id, controlId, event, argCount, {}, 0, 0};
  for (std::int32_t i = 0; i < argCount && i < 5; ++i) notice.args[i] = args[i];
  const bool ran = RaiseEvent(notice);
  if (result != nullptr) *result = notice;
  return ran;
}

bool Shell::RaiseWindowEvent(WindowState& window, std::int32_t event, EventNotice* result) {
  return Raise(window, window.definition->selfId, event, 0, nullptr, result);
}

NativeWindow Shell::FindNativeWindow(std::uint32_t windowId) const {
  const WindowState* window = const_cast<Shell*>(this)->StateOf(windowId);
  return window == nullptr ? nullptr : window->native;
}

NativeWindow Shell::FindControl(std::uint32_t windowId, std::uint32_t controlId) const {
  const WindowState* window = const_cast<Shell*>(this)->StateOf(windowId);
  if (window == nullptr) return nullptr;
  for (std::size_t i = 0; i < window->definition->controlCount; ++i) {
    if (window->definition->controls[i].id == controlId) return window->controls[i];
  }
  return nullptr;
}

bool Shell::ReadProperty(std::uint32_t windowId, std::uint32_t controlId, int number,
                         std::int32_t* value, const char** text) {
  const WindowState* window = StateOf(windowId);
  if (window == nullptr) return false;
  const ControlDefinition* control = nullptr;
  NativeWindow native = nullptr;
  for (std::size_t i = 0; i < window->definition->controlCount; ++i) {
    if (window->definition->controls[i].id == controlId) {
      control = &window->definition->controls[i];
      native = window->controls[i];
    }
  }
  if (control == nullptr) return false;

  std::int32_t result = 0;
  const char* resultText = nullptr;
  const Rect rect = native != nullptr
                        ? desktop_.ControlRect(native)
                        : Rect{control->left, control->top, control->width, control->height};
  switch (number) {
    case 0:
      result = rect.left;
      break;
    case 1:
      result = rect.top;
      break;
    case 2:
      result = rect.width;
      break;
    case 3:
      result = rect.height;
      break;
    case 4:
      resultText = control->tag;
      break;
    case 5:
      result = native != nullptr ? desktop_.IsVisible(native) : control->visible;
      break;
    case 6:
      result = native != nullptr ? !desktop_.IsEnabled(native) : control->disabled;
      break;
    case 7:
      result = static_cast<std::int32_t>(control->mousePointer);
      break;
    case 19:
      if (control->kind != ControlKind::ComboBox) return false;
      result =
          native != nullptr ? desktop_.ListSelection(native) : control->comboBox->currentSelection;
      break;
    default:
      return false;
  }
  if (value != nullptr) *value = result;
  if (text != nullptr) *text = resultText;
  return true;
}

std::int32_t Shell::CurrentSelection(std::uint32_t windowId, std::uint32_t controlId) {
  std::int32_t selection = -1;
  if (!ReadProperty(windowId, controlId, 19, &selection)) return -1;
  return selection;
}

std::int32_t Shell::ItemValue(std::uint32_t windowId, std::uint32_t controlId, std::int32_t index) {
  const NativeWindow list = FindControl(windowId, controlId);
  if (list == nullptr || index < 0) return -1;
  const ControlDefinition* control = ControlOf(list);
  if (control == nullptr || control->kind != ControlKind::ComboBox) return -1;
  if (index >= desktop_.ListCount(list)) return -1;
  return desktop_.ListItemValue(list, index);
}

void Shell::InputControlEvent(NativeWindow control, std::int32_t event) {
  WindowState* window = nullptr;
  std::size_t index = 0;
  if (!FindOwner(control, &window, &index)) return;
  Raise(*window, window->definition->controls[index].id, event);
}

std::int32_t Shell::InputLabelFeedback(NativeWindow label, std::int32_t wParam,
                                       std::int32_t lParam) {
  WindowState* window = nullptr;
  std::size_t index = 0;
  if (!FindOwner(label, &window, &index)) return 0;
  const std::int32_t args[2] = {wParam, lParam};
  EventNotice notice{};
  if (!Raise(*window, window->definition->controls[index].id, event::kLabelFeedback, 2, args,
             &notice)) {
    return 0;
  }
  return notice.returnedFlag ? notice.returnedValue : 0;
}

void Shell::InputWindowEvent(NativeWindow native, std::int32_t event) {
  if (WindowState* window = StateOfNative(native)) RaiseWindowEvent(*window, event);
}

void Shell::InputCloseRequest(NativeWindow native) {
  // Either query may keep the window open by answering 0, and a handler may
  // have destroyed the window meanwhile.
  constexpr std::int32_t kQueries[] = {event::kWindowEarlyCloseQuery, event::kWindowCloseQuery};
  for (std::int32_t query : kQueries) {
    WindowState* window = StateOfNative(native);
    if (window == nullptr) return;
    EventNotice notice{};
    if (RaiseWindowEvent(*window, query, &notice) && notice.returnedFlag &&
        notice.returnedValue == 0) {
      return;
    }
  }
  if (StateOfNative(native) != nullptr) desktop_.Destroy(native);
}

bool Shell::InputEndSessionQuery(NativeWindow native) {
  WindowState* window = StateOfNative(native);
  if (window == nullptr) return true;
  EventNotice notice{};
  return !(RaiseWindowEvent(*window, event::kWindowCloseQuery, &notice) && notice.returnedFlag &&
           notice.returnedValue == 0);
}

void Shell::InputWindowDestroying(NativeWindow native) {
  if (WindowState* window = StateOfNative(native)) {
    RaiseWindowEvent(*window, event::kWindowDestroying);
  }
}

void Shell::InputWindowDestroyed(NativeWindow native) {
  WindowState* window = StateOfNative(native);
  if (window == nullptr) return;
  window->native = nullptr;
  window->rememberedFocus = nullptr;
  for (NativeWindow& control : window->controls) control = nullptr;
  if (!AnyWindowOpen() && loopStarted_) desktop_.PostQuit(0);
}

void Shell::InputWindowActivated(NativeWindow native) {
  WindowState* window = StateOfNative(native);
  if (window == nullptr) return;
  RaiseWindowEvent(*window, event::kGotFocus);
  if (window->native == nullptr) return;
  GiveFocus(*window);
}

void Shell::InputWindowDeactivated(NativeWindow native) {
  if (WindowState* window = StateOfNative(native)) {
    window->rememberedFocus = desktop_.FocusedControl(native);
  }
}

bool Shell::ControlAlive(const WindowState& window, NativeWindow control) const {
  if (control == nullptr) return false;
  for (std::size_t i = 0; i < window.definition->controlCount; ++i) {
    if (window.controls[i] == control) return true;
  }
  return false;
}

void Shell::GiveFocus(WindowState& window) {
  const NativeWindow remembered = window.rememberedFocus;
  window.rememberedFocus = nullptr;
  if (ControlAlive(window, remembered)) {
    desktop_.SetFocus(remembered);
    return;
  }
  NativeWindow sequence[kMaxControls];
  if (TabSequence(window.native, sequence, kMaxControls) > 0) desktop_.SetFocus(sequence[0]);
}

std::size_t Shell::TabSequence(NativeWindow native, NativeWindow* out, std::size_t capacity) {
  const WindowState* window = StateOfNative(native);
  if (window == nullptr) return 0;
  const WindowDefinition& definition = *window->definition;
  // Smallest tab order first; among equals the control defined last comes
  // first. Insertion keeps it stable for seven controls without a sort.
  std::size_t count = 0;
  for (std::size_t i = definition.controlCount; i-- > 0;) {
    const ControlDefinition& control = definition.controls[i];
    const NativeWindow candidate = window->controls[i];
    if (!control.tabStop || candidate == nullptr || !desktop_.IsVisible(candidate) ||
        !desktop_.IsEnabled(candidate) || count == capacity) {
      continue;
    }
    std::size_t at = count;
    while (at > 0 && ControlOf(out[at - 1])->tabOrder > control.tabOrder) {
      out[at] = out[at - 1];
      --at;
    }
    out[at] = candidate;
    ++count;
  }
  return count;
}

void Shell::MoveFocus(WindowState& window, bool backwards) {
  NativeWindow sequence[kMaxControls];
  const std::size_t count = TabSequence(window.native, sequence, kMaxControls);
  if (count == 0) return;
  const NativeWindow focused = desktop_.FocusedControl(window.native);
  std::size_t at = count;
  for (std::size_t i = 0; i < count; ++i) {
    if (sequence[i] == focused) at = i;
  }
  std::size_t next;
  if (at == count) {
    next = backwards ? count - 1 : 0;
  } else if (backwards) {
    next = at == 0 ? count - 1 : at - 1;
  } else {
    next = at + 1 == count ? 0 : at + 1;
  }
  desktop_.SetFocus(sequence[next]);
}

bool Shell::ClickDefaultButton(WindowState& window, NativeWindow focused) {
  const WindowDefinition& definition = *window.definition;
  auto isDefaultButton = [&](std::size_t i) {
    const ControlDefinition& control = definition.controls[i];
    return control.kind == ControlKind::Button && control.button->buttonType == 1 &&
           window.controls[i] != nullptr && desktop_.IsEnabled(window.controls[i]);
  };
  for (std::size_t i = 0; i < definition.controlCount; ++i) {
    if (window.controls[i] == focused && isDefaultButton(i)) {
      Raise(window, definition.controls[i].id, event::kButtonClick);
      return true;
    }
  }
  if (definition.enterMovesFocus) return false;
  for (std::size_t i = 0; i < definition.controlCount; ++i) {
    if (isDefaultButton(i)) {
      Raise(window, definition.controls[i].id, event::kButtonClick);
      return true;
    }
  }
  return false;
}

bool Shell::InputKeyDown(NativeWindow native, Key key, Modifiers modifiers) {
  WindowState* window = StateOfNative(native);
  if (window == nullptr) return false;
  switch (key) {
    case Key::Tab:
      if (modifiers.Plain() || (modifiers.shift && !modifiers.ctrl && !modifiers.alt)) {
        MoveFocus(*window, modifiers.shift);
        return true;
      }
      return false;
    case Key::Enter:
      if (!modifiers.Plain()) return false;
      if (ClickDefaultButton(*window, desktop_.FocusedControl(native))) return true;
      if (window->definition->enterMovesFocus) {
        MoveFocus(*window, false);
        return true;
      }
      return false;
    case Key::Escape:
      if (!modifiers.Plain() || !window->definition->escCloses) return false;
      InputCloseRequest(native);
      return true;
    case Key::F1:
    case Key::Other:
      return false;
  }
  return false;
}

}  // namespace valdremo
