// The static description of a window: its own properties, its controls in
// definition order and which routine handles which event. Nothing changes a
// definition at run time; the shell builds native windows from it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace valdremo {

class Shell;

// What a handler gives back: some handlers return a 32-bit value, others none.
struct HandlerResult {
  bool returned;
  std::int32_t value;
};

// Every bound routine is called through this one shape; the shell passes the
// event's arguments (at most five) and itself, so handlers need no globals.
using Handler = HandlerResult (*)(Shell& shell, const std::int32_t* args);

struct EventBinding {
  std::int32_t event;
  Handler handler;  // null: the event is named but nothing handles it
};

// Event numbers. Kinds number their own events from 0; negative numbers are
// common to all kinds.
namespace event {
constexpr std::int32_t kGotFocus = -7;
constexpr std::int32_t kLostFocus = -8;

constexpr std::int32_t kWindowCreated = 0;
constexpr std::int32_t kWindowCloseQuery = 1;
constexpr std::int32_t kWindowDestroying = 2;
constexpr std::int32_t kWindowMoved = 3;
constexpr std::int32_t kWindowResized = 4;
constexpr std::int32_t kWindowEarlyCloseQuery = 12;

constexpr std::int32_t kLabelFeedback = 0;
constexpr std::int32_t kButtonClick = 0;

constexpr std::int32_t kComboPicked = 0;
constexpr std::int32_t kComboEdited = 1;
constexpr std::int32_t kComboDropDown = 2;
constexpr std::int32_t kComboCloseUp = 3;
constexpr std::int32_t kComboDoubleClick = 4;
}  // namespace event

// Colours are 0x00BBGGRR; this value means "the platform's face colour, read
// when it is used".
constexpr std::uint32_t kDefaultColour = 0xFF000000u;

enum class ControlKind : std::uint8_t { Label, Button, ComboBox };

struct LabelProperties {
  const char* text;
  std::uint32_t textColour;
  std::uint32_t backgroundColour;
  std::int32_t horizontalAlignment;  // 0 left, 1 centre, 2 right
  bool wordWrap;
  std::int32_t verticalAlignment;  // 0 top, 1 centre, 2 bottom
};

struct ButtonProperties {
  const char* text;
  std::int32_t buttonType;  // 0 push button, 1 default push button
  std::int32_t horizontalAlignment;
  std::int32_t verticalAlignment;
};

struct ComboBoxProperties {
  std::int32_t listType;  // 1: editable field with a drop-down list
  const char* text;
  std::int32_t maximumTextLength;  // 0: no limit
  std::int32_t selectionStart;
  std::int32_t selectionLength;
  bool sort;
  std::int32_t lineSpacing;  // added to the platform's item height
  std::uint32_t textColour;
  std::uint32_t backgroundColour;
  std::int32_t currentSelection;  // -1: nothing selected
  const char* const* itemTexts;
  std::size_t itemCount;
  const std::int32_t* itemValues;
  std::size_t valueCount;
};

struct ControlDefinition {
  std::uint32_t id;
  ControlKind kind;
  const char* name;
  std::int32_t left, top, width, height;
  std::uint32_t parent;  // 0: the window itself
  const char* tag;
  bool visible;
  bool disabled;
  bool tabStop;
  std::int32_t tabOrder;
  std::uint32_t mousePointer;
  const EventBinding* bindings;
  std::size_t bindingCount;
  // Exactly one of these is set, matching kind.
  const LabelProperties* label;
  const ButtonProperties* button;
  const ComboBoxProperties* comboBox;
};

enum class StartPosition : std::uint8_t { Manual = 0, CentreScreen = 1 };

struct WindowDefinition {
  std::uint32_t id;
  std::uint32_t selfId;  // the window's own entry, used for its own events
  const char* title;
  std::int32_t left, top, width, height;
  StartPosition startPosition;
  bool minimiseButton;
  bool maximiseButton;
  bool escCloses;
  bool enterMovesFocus;
  bool visible;
  std::uint32_t backgroundColour;
  const EventBinding* bindings;
  std::size_t bindingCount;
  const ControlDefinition* controls;
  std::size_t controlCount;
};

}  // namespace valdremo
