// The window's focus rule, its Tab sequence and the keys it handles itself.
#include <gtest/gtest.h>

#include "shell/handler.h"
#include "support/fixtures.h"

namespace valdremo::testing {
namespace {

using Node = HeadlessDesktop::Node;

constexpr Modifiers kPlain{};
constexpr Modifiers kShift{false, true, false};
constexpr Modifiers kCtrl{true, false, false};
constexpr Modifiers kAlt{false, false, true};

TEST(Focus, StartsOnTheWordButton) {
  Program program;
  ASSERT_TRUE(program.Build());
  EXPECT_EQ(program.Focused(), "按钮1");
}

struct TabCase {
  const char* from;
  Modifiers modifiers;
  const char* to;
};

class TabSequence : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabSequence, MovesAmongTheButtonsAndTheListOnly) {
  Program program;
  ASSERT_TRUE(program.Build());
  program.desktop.SetFocus(program.Control(GetParam().from));
  EXPECT_TRUE(program.desktop.PressKey(Key::Tab, GetParam().modifiers));
  EXPECT_EQ(program.Focused(), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TabSequence,
    ::testing::Values(TabCase{"按钮1", kPlain, "组合框1"}, TabCase{"组合框1", kPlain, "按钮2"},
                      TabCase{"按钮2", kPlain, "按钮3"}, TabCase{"按钮3", kPlain, "按钮1"},
                      TabCase{"按钮1", kShift, "按钮3"}, TabCase{"按钮3", kShift, "按钮2"},
                      TabCase{"组合框1", kShift, "按钮1"}));

TEST(TabSequence, SkipsControlsThatAreDisabledOrHiddenAtThatMoment) {
  Program program;
  ASSERT_TRUE(program.Build());
  program.Control("组合框1")->enabled = false;
  program.Control("按钮2")->visible = false;
  program.desktop.PressKey(Key::Tab);
  EXPECT_EQ(program.Focused(), "按钮3");
}

struct KeyCase {
  const char* what;
  Key key;
  Modifiers modifiers;
  bool consumed;
  bool closes;
};

class WindowKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(WindowKeys, AreHandledBeforeTheFocusedControlSeesThem) {
  for (const char* from : {"按钮1", "组合框1", "按钮3"}) {
    EditableDefinition definition;
    const EventBinding click[] = {{event::kButtonClick, &Bind<&RecordClick>}};
    for (const char* button : {"按钮1", "按钮2", "按钮3"})
      definition.Control(button).bindings = click;
    Program program(definition.list, 1);
    ASSERT_TRUE(program.Build());
    program.shell.RunEventLoop();  // runs dry; the window is now "running"
    program.desktop.SetFocus(program.Control(from));

    EXPECT_EQ(program.desktop.PressKey(GetParam().key, GetParam().modifiers), GetParam().consumed)
        << from;
    EXPECT_EQ(program.desktop.TopLevel() == nullptr, GetParam().closes) << from;
    if (!GetParam().closes) {
      EXPECT_EQ(program.Focused(), from) << "focus stays";
    }
    EXPECT_TRUE(Calls().empty()) << "no button is clicked from " << from;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, WindowKeys,
                         ::testing::Values(KeyCase{"Esc", Key::Escape, kPlain, true, true},
                                           KeyCase{"ShiftEsc", Key::Escape, kShift, false, false},
                                           KeyCase{"CtrlEsc", Key::Escape, kCtrl, false, false},
                                           KeyCase{"Enter", Key::Enter, kPlain, false, false},
                                           KeyCase{"F1", Key::F1, kPlain, false, false},
                                           KeyCase{"CtrlTab", Key::Tab, kCtrl, false, false},
                                           KeyCase{"AltTab", Key::Tab, kAlt, false, false},
                                           KeyCase{"Other", Key::Other, kPlain, false, false}),
                         ByWhat());

TEST(WindowKeys, EscEndsTheLoopWithZero) {
  Program program;
  program.desktop.PostWhenLoopStarts([&] { program.desktop.PressKey(Key::Escape); });
  EXPECT_EQ(program.Run(), 0);
}

TEST(WindowKeys, EnterClicksADefaultPushButtonWhereThereIsOne) {
  EditableDefinition definition;
  const EventBinding click[] = {{event::kButtonClick, &Bind<&RecordClick>}};
  definition.Control("按钮2").bindings = click;
  const ButtonProperties defaultButton{"EXCEL教程", 1, 1, 1};
  definition.Control("按钮2").button = &defaultButton;
  Program program(definition.list, 1);
  ASSERT_TRUE(program.Build());
  EXPECT_TRUE(program.desktop.PressKey(Key::Enter));  // from 按钮1: the default one is clicked
  EXPECT_EQ(Calls(), (std::vector<std::string>{"click"}));
  program.Control("按钮2")->enabled = false;
  EXPECT_FALSE(program.desktop.PressKey(Key::Enter)) << "a disabled default button is skipped";
  EXPECT_EQ(Calls().size(), 1u);
}

TEST(WindowKeys, SpaceOnTheFocusedButtonClicksItOnce) {
  EditableDefinition definition;
  const EventBinding click[] = {{event::kButtonClick, &Bind<&RecordClick>}};
  definition.Control("按钮1").bindings = click;
  Program program(definition.list, 1);
  ASSERT_TRUE(program.Build());
  EXPECT_FALSE(program.desktop.PressKey(Key::Other, kPlain, /*space=*/true));
  EXPECT_EQ(Calls(), (std::vector<std::string>{"click"}));
}

TEST(Focus, ComesBackToTheControlThatHadItWhenTheWindowIsActivatedAgain) {
  Program program;
  ASSERT_TRUE(program.Build());
  Node* window = program.desktop.TopLevel();
  program.desktop.PressKey(Key::Tab);
  program.desktop.PressKey(Key::Tab);
  ASSERT_EQ(program.Focused(), "按钮2");
  program.desktop.Deactivate(window);
  EXPECT_EQ(program.Focused(), "(none)");
  program.desktop.Activate(window);
  EXPECT_EQ(program.Focused(), "按钮2");

  // Used once: a later activation with nothing remembered starts over.
  program.desktop.focus = nullptr;
  program.desktop.Activate(window);
  EXPECT_EQ(program.Focused(), "按钮1");
}

}  // namespace
}  // namespace valdremo::testing
