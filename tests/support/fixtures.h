// Shared pieces of the core's tests: a recording handler log and a fixture
// that builds a window definition on the headless desktop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "headless/headless_desktop.h"
#include "shell/shell.h"
#include "window/main_window.h"

namespace valdremo::testing {

// Every recording handler appends one line here: its name, then its
// arguments, then what it saw of the window ("visible" when shown).
std::vector<std::string>& Calls();

void RecordCreated(Shell& shell);
void RecordMoved(Shell& shell);
void RecordResized(Shell& shell);
void RecordDestroying(Shell& shell);
void RecordFeedback(Shell& shell, std::int32_t first, std::int32_t second);
void RecordClick(Shell& shell);
std::int32_t KeepOpen(Shell& shell);    // answers 0: the window stays
std::int32_t AllowClose(Shell& shell);  // answers 1
void DestroyWindow(Shell& shell);       // a created handler that closes at once

// A copy of the main window's definition whose bindings a test may replace.
struct EditableDefinition {
  EditableDefinition();
  WindowDefinition window;
  ControlDefinition controls[7];
  ButtonProperties buttons[3];
  const WindowDefinition* list[1];
  ControlDefinition& Control(const char* name);
  template <std::size_t N>
  void BindWindow(const EventBinding (&bindings)[N]) {
    window.bindings = bindings;
    window.bindingCount = N;
  }
};

// Builds `definition` the way the program does, on a headless desktop.
class Program {
 public:
  explicit Program(const WindowDefinition* const* definitions = ProgramWindowDefinitions(),
                   std::size_t count = 1);
  bool Build();  // InitializeShell + BuildWindow of the main window
  int Run();     // the whole ProgramMain and shutdown; answers the exit code
  HeadlessDesktop::Node* Control(const char* name) const { return desktop.Find(name); }
  std::string Focused() const;

  HeadlessDesktop desktop;
  Shell shell;
};

// Names parameterised cases after their `what` field.
struct ByWhat {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
    std::string name = info.param.what;
    for (char& c : name) {
      if (!(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9')) c = '_';
    }
    return name;
  }
};

}  // namespace valdremo::testing
