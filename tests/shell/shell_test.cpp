// The shell's dispatch, end routines, start-up failure and quit rules.
#include <gtest/gtest.h>

#include "shell/handler.h"
#include "shell/program.h"
#include "support/fixtures.h"

namespace valdremo::testing {
namespace {

std::vector<std::int32_t> seenArgs;
void TakeFive(Shell&, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d,
              std::int32_t e) {
  seenArgs = {a, b, c, d, e};
}
std::int32_t Answer42(Shell&) { return 42; }
std::int32_t AnswerZero(Shell&) { return 0; }
void Nothing(Shell&) {}

// A small window of its own: one label with several bindings for one event.
constexpr EventBinding kLabelBindings[] = {
    {7, &Bind<&Answer42>},  // the first binding of event 7 wins
    {7, &Bind<&AnswerZero>}, {8, &Bind<&TakeFive>},
    {9, &Bind<&Nothing>},    {10, nullptr},  // named but unhandled: the later one never runs
    {10, &Bind<&Answer42>},  {11, &Bind<&AnswerZero>},
};
constexpr LabelProperties kText{"x", 0, kDefaultColour, 0, false, 1};
constexpr ControlDefinition kOneLabel[] = {{0x77, ControlKind::Label, "L", 0, 0, 10, 10, 0, "",
                                            true, false, false, 0, 0, kLabelBindings,
                                            std::size(kLabelBindings), &kText, nullptr, nullptr}};
constexpr WindowDefinition kSmallWindow{0x1234,    0x99,
                                        "small",   0,
                                        0,         100,
                                        100,       StartPosition::Manual,
                                        true,      false,
                                        true,      false,
                                        true,      kDefaultColour,
                                        nullptr,   0,
                                        kOneLabel, 1};
constexpr const WindowDefinition* kSmall[] = {&kSmallWindow};

EventNotice Notice(std::int32_t event, std::int32_t argCount = 0, std::uint32_t window = 0x1234,
                   std::uint32_t control = 0x77) {
  return EventNotice{window, control, event, argCount, {1, 2, 3, 4, 5}, 0, 0};
}

struct DispatchCase {
  const char* what;
  EventNotice notice;
  bool ran;
  std::int32_t flag;
  std::int32_t value;
};

class Dispatch : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(Dispatch, RunsTheFirstBindingAndFillsTheResult) {
  Program program(kSmall, 1);
  ASSERT_TRUE(program.shell.InitializeShell());
  EventNotice notice = GetParam().notice;
  EXPECT_EQ(program.shell.RaiseEvent(notice), GetParam().ran);
  EXPECT_EQ(notice.returnedFlag, GetParam().flag);
  EXPECT_EQ(notice.returnedValue, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Dispatch,
    ::testing::Values(DispatchCase{"first binding wins", Notice(7), true, 1, 42},
                      DispatchCase{"a value of 0 still counts as returned", Notice(11), true, 1, 0},
                      DispatchCase{"handler without a value", Notice(9), true, 0, 0},
                      DispatchCase{"first binding has no handler", Notice(10), false, 0, 0},
                      DispatchCase{"event not bound", Notice(3), false, 0, 0},
                      DispatchCase{"unknown control", Notice(7, 0, 0x1234, 0x78), false, 0, 0},
                      DispatchCase{"unknown window", Notice(7, 0, 0x4321), false, 0, 0}),
    ByWhat());

TEST(Dispatch, PassesTheArgumentsInOrderAndOnlyAsManyAsCounted) {
  Program program(kSmall, 1);
  ASSERT_TRUE(program.shell.InitializeShell());
  EventNotice all = Notice(8, 5);
  EXPECT_TRUE(program.shell.RaiseEvent(all));
  EXPECT_EQ(seenArgs, (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  EventNotice two = Notice(8, 2);
  EXPECT_TRUE(program.shell.RaiseEvent(two));
  EXPECT_EQ(seenArgs, (std::vector<std::int32_t>{1, 2, 0, 0, 0}));
}

TEST(Dispatch, NoHandlerRunsWhileConstructingOrOnceShutdownHasBegun) {
  Program program(kSmall, 1);
  ASSERT_TRUE(program.shell.InitializeShell());
  program.shell.BeginConstruction();
  program.shell.BeginConstruction();
  EventNotice notice = Notice(7);
  EXPECT_FALSE(program.shell.RaiseEvent(notice));
  program.shell.EndConstruction();
  EXPECT_FALSE(program.shell.RaiseEvent(notice)) << "still one level deep";
  program.shell.EndConstruction();
  program.shell.EndConstruction();  // never goes below zero
  EXPECT_EQ(program.shell.suppressionDepth(), 0);
  EXPECT_TRUE(program.shell.RaiseEvent(notice));

  program.shell.ShutdownShell();
  EventNotice late = Notice(7);
  EXPECT_FALSE(program.shell.RaiseEvent(late));
  EXPECT_EQ(late.returnedFlag, 0);
}

std::vector<int> ended;
void EndA() { ended.push_back(1); }
void EndB() { ended.push_back(2); }

TEST(EndRoutines, RunOnceInOrderOfFirstRegistration) {
  Program program;
  ended.clear();
  program.shell.RegisterEndRoutine(&EndB);
  program.shell.RegisterEndRoutine(&EndA);
  program.shell.RegisterEndRoutine(&EndB);
  EXPECT_EQ(program.shell.endRoutineCount(), 2u);
  program.shell.ShutdownShell();
  program.shell.ShutdownShell();
  EXPECT_EQ(ended, (std::vector<int>{2, 1}));
}

TEST(EndRoutines, RunAfterAQuitFromOutsideThatCarriesMinusOne) {
  Program program;
  ended.clear();
  program.shell.RegisterEndRoutine(&EndA);
  program.desktop.PostWhenLoopStarts([&] { program.desktop.PostQuit(-1); });
  EXPECT_EQ(program.Run(), -1);
  EXPECT_EQ(ended, (std::vector<int>{1})) << "a quit code of -1 is no failed start";
}

TEST(EndRoutines, AreDroppedWhenTheStartFails) {
  Program program;
  ended.clear();
  program.desktop.failTopLevel = true;
  program.shell.RegisterEndRoutine(&EndA);
  EXPECT_EQ(program.Run(), -1);
  EXPECT_TRUE(ended.empty());
  EXPECT_EQ(program.shell.endRoutineCount(), 0u);
}

struct FailureCase {
  const char* what;
  bool failTopLevel;
  int failControlAt;
};

class StartFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(StartFailure, TellsTheUserLeavesNoWindowAndExitsWithMinusOne) {
  Program program;
  program.desktop.failTopLevel = GetParam().failTopLevel;
  program.desktop.failControlAt = GetParam().failControlAt;
  EXPECT_EQ(program.Run(), -1);
  ASSERT_EQ(program.desktop.failureMessages.size(), 1u);
  EXPECT_NE(program.desktop.failureMessages[0].find("无法启动"), std::string::npos);
  for (const auto& node : program.desktop.nodes) EXPECT_FALSE(node->alive);
  EXPECT_FALSE(program.shell.loopStarted());
  EXPECT_GE(program.shell.suppressionDepth(), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartFailure,
                         ::testing::Values(FailureCase{"window", true, -1},
                                           FailureCase{"first_control", false, 0},
                                           FailureCase{"last_control", false, 6}),
                         ByWhat());

TEST(StartFailure, NoWindowDefinitionsAtAll) {
  Program program(nullptr, 0);
  EXPECT_EQ(program.Run(), -1);
  EXPECT_EQ(program.desktop.failureMessages.size(), 1u);
  EXPECT_TRUE(program.desktop.log.empty()) << "nothing was created";
}

TEST(Quit, ClosingTheWindowEndsTheLoopWithZero) {
  Program program;
  program.desktop.PostWhenLoopStarts([&] { program.desktop.CloseBox(program.desktop.TopLevel()); });
  EXPECT_EQ(program.Run(), 0);
  EXPECT_EQ(program.desktop.TopLevel(), nullptr);
}

TEST(Quit, AQuitFromOutsideEndsTheLoopWithItsCodeAndRunsNoCloseHandler) {
  EditableDefinition definition;
  const EventBinding bindings[] = {{event::kWindowEarlyCloseQuery, &Bind<&AllowClose>},
                                   {event::kWindowCloseQuery, &Bind<&AllowClose>},
                                   {event::kWindowDestroying, &Bind<&RecordDestroying>}};
  definition.BindWindow(bindings);
  Program program(definition.list, 1);
  program.desktop.PostWhenLoopStarts([&] { program.desktop.PostQuit(7); });
  EXPECT_EQ(program.Run(), 7);
  EXPECT_NE(program.desktop.TopLevel(), nullptr) << "the window was still open";
  EXPECT_TRUE(Calls().empty());
}

TEST(Quit, ACreatedHandlerThatClosesTheWindowMeansNoLoopAndExitZero) {
  EditableDefinition definition;
  const EventBinding bindings[] = {{event::kWindowCreated, &Bind<&DestroyWindow>},
                                   {event::kWindowMoved, &Bind<&RecordMoved>}};
  definition.BindWindow(bindings);
  Program program(definition.list, 1);
  ASSERT_TRUE(program.shell.InitializeShell());
  EXPECT_TRUE(program.shell.BuildWindow(kMainWindowId)) << "the build still succeeds";
  EXPECT_EQ(Calls(), (std::vector<std::string>{"created"})) << "no moved event after it";
  program.shell.RunEventLoop();
  EXPECT_TRUE(program.shell.loopStarted());
  EXPECT_EQ(program.shell.exitCode(), 0);
  EXPECT_EQ(program.desktop.log.back(), "destroy-window") << "the window was never shown";
}

struct CloseCase {
  const char* what;
  Handler early;
  Handler query;
  bool closes;
  std::vector<std::string> calls;
};

class CloseRequest : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseRequest, AsksBothQueriesThenDestroys) {
  EditableDefinition definition;
  const EventBinding bindings[] = {{event::kWindowEarlyCloseQuery, GetParam().early},
                                   {event::kWindowCloseQuery, GetParam().query},
                                   {event::kWindowDestroying, &Bind<&RecordDestroying>}};
  definition.BindWindow(bindings);
  Program program(definition.list, 1);
  ASSERT_TRUE(program.Build());
  program.shell.RunEventLoop();  // runs dry: sets loop started for the quit rule
  program.desktop.CloseBox(program.desktop.TopLevel());
  EXPECT_EQ(program.desktop.TopLevel() == nullptr, GetParam().closes);
  EXPECT_EQ(Calls(), GetParam().calls);
  EXPECT_EQ(program.desktop.RunMessageLoop(), GetParam().closes ? 0 : HeadlessDesktop::kLoopRanDry);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CloseRequest,
    ::testing::Values(
        CloseCase{"no_handlers", nullptr, nullptr, true, {"destroying"}},
        CloseCase{"both_agree",
                  &Bind<&AllowClose>,
                  &Bind<&AllowClose>,
                  true,
                  {"query", "query", "destroying"}},
        CloseCase{"early_refuses", &Bind<&KeepOpen>, &Bind<&AllowClose>, false, {"query"}},
        CloseCase{"late_refuses", &Bind<&AllowClose>, &Bind<&KeepOpen>, false, {"query", "query"}}),
    ByWhat());

}  // namespace
}  // namespace valdremo::testing
