#include "support/fixtures.h"

#include <cstring>

#include "shell/program.h"

namespace valdremo::testing {
namespace {
std::string Seen(Shell& shell) {
  const NativeWindow window = shell.FindNativeWindow(kMainWindowId);
  if (window == nullptr) return " gone";
  return shell.desktop().IsVisible(window) ? " visible" : " hidden";
}
}  // namespace

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}

void RecordCreated(Shell& shell) { Calls().push_back("created" + Seen(shell)); }
void RecordMoved(Shell& shell) { Calls().push_back("moved" + Seen(shell)); }
void RecordResized(Shell& shell) { Calls().push_back("resized" + Seen(shell)); }
void RecordDestroying(Shell&) { Calls().push_back("destroying"); }
void RecordFeedback(Shell&, std::int32_t first, std::int32_t second) {
  Calls().push_back("feedback " + std::to_string(first) + " " + std::to_string(second));
}
void RecordClick(Shell&) { Calls().push_back("click"); }
std::int32_t KeepOpen(Shell&) {
  Calls().push_back("query");
  return 0;
}
std::int32_t AllowClose(Shell&) {
  Calls().push_back("query");
  return 1;
}
void DestroyWindow(Shell& shell) {
  Calls().push_back("created");
  shell.desktop().Destroy(shell.FindNativeWindow(kMainWindowId));
}

EditableDefinition::EditableDefinition() : window(MainWindowDefinition()), list{&window} {
  for (std::size_t i = 0; i < 7; ++i) controls[i] = window.controls[i];
  window.controls = controls;
}

ControlDefinition& EditableDefinition::Control(const char* name) {
  for (ControlDefinition& control : controls) {
    if (std::strcmp(control.name, name) == 0) return control;
  }
  return controls[0];
}

Program::Program(const WindowDefinition* const* definitions, std::size_t count)
    : shell(desktop, definitions, count) {
  Calls().clear();
}

bool Program::Build() { return shell.InitializeShell() && shell.BuildWindow(kMainWindowId); }

int Program::Run() { return RunProgram(shell); }

std::string Program::Focused() const {
  const HeadlessDesktop::Node* focus = desktop.focus;
  if (focus == nullptr) return "(none)";
  return focus->control != nullptr ? focus->control->name : "(window)";
}

}  // namespace valdremo::testing
