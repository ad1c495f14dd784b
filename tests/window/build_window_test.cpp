// Building the main window: order of creation, stacking, showing and events;
// placement; what each control is made from; reads by property number.
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/handler.h"
#include "support/fixtures.h"

namespace valdremo::testing {
namespace {

std::vector<std::string> Matching(const std::vector<std::string>& log, const char* prefix) {
  std::vector<std::string> out;
  for (const auto& line : log) {
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  }
  return out;
}

TEST(BuildWindow, CreatesControlsLastToFirstWithChildIdsFrom100) {
  Program program;
  ASSERT_TRUE(program.Build());
  EXPECT_EQ(Matching(program.desktop.log, "create "),
            (std::vector<std::string>{"create 按钮1 100", "create 组合框1 110", "create 按钮2 120",
                                      "create 按钮3 130", "create 标签1 140", "create 标签2 150",
                                      "create 标签3 160"}));
}

TEST(BuildWindow, StacksTheControlsInDefinitionOrder) {
  Program program;
  ASSERT_TRUE(program.Build());
  std::vector<std::string> stack;
  for (const auto* child : program.desktop.TopLevel()->children)
    stack.push_back(child->control->name);
  EXPECT_EQ(stack, (std::vector<std::string>{"标签3", "标签2", "标签1", "按钮3", "按钮2", "组合框1",
                                             "按钮1"}));
}

TEST(BuildWindow, ShowsControlsThenRaisesCreatedMovedResizedOnceBeforeTheWindowShows) {
  EditableDefinition definition;
  const EventBinding bindings[] = {{event::kWindowCreated, &Bind<&RecordCreated>},
                                   {event::kWindowMoved, &Bind<&RecordMoved>},
                                   {event::kWindowResized, &Bind<&RecordResized>}};
  definition.BindWindow(bindings);
  Program program(definition.list, 1);
  // A platform frame that comes out a different size makes the shell fix the
  // size; the move and resize that causes must run no handler.
  program.desktop.frameSlack = {6, 4};
  ASSERT_TRUE(program.Build());
  EXPECT_EQ(Calls(),
            (std::vector<std::string>{"created hidden", "moved hidden", "resized hidden"}));

  const auto& log = program.desktop.log;
  const auto lastShow = std::find(log.rbegin(), log.rend(), "show 标签3");
  const auto endConstruction = std::find(log.rbegin(), log.rend(), "pump");
  ASSERT_NE(lastShow, log.rend());
  EXPECT_GT(lastShow - log.rbegin(), endConstruction - log.rbegin())
      << "every control is shown before construction ends";
  EXPECT_EQ(Matching(log, "show ").size(), 7u);
  EXPECT_EQ(log.back(), "show-window");
  EXPECT_EQ(program.desktop.TopLevel()->rect.width, 459);
  EXPECT_EQ(program.desktop.TopLevel()->rect.height, 319);
}

TEST(BuildWindow, GivesTheWindowItsTitleIconsAndFont) {
  Program program;
  ASSERT_TRUE(program.Build());
  const auto* window = program.desktop.TopLevel();
  EXPECT_EQ(window->text, "Valdremo二级office教学视频");
  EXPECT_TRUE(window->hasIcons);
  EXPECT_TRUE(window->hasFont);
  EXPECT_TRUE(window->visible);
}

struct Placement {
  Size screen;
  std::int32_t left, top;
};

class Centring : public ::testing::TestWithParam<Placement> {};

TEST_P(Centring, CentresOnTheScreenByIntegerDivision) {
  Program program;
  program.desktop.screen = GetParam().screen;
  ASSERT_TRUE(program.Build());
  const Rect rect = program.desktop.TopLevel()->rect;
  EXPECT_EQ(rect.left, GetParam().left);
  EXPECT_EQ(rect.top, GetParam().top);
}

INSTANTIATE_TEST_SUITE_P(Screens, Centring,
                         ::testing::Values(Placement{{1920, 1080}, 730, 380},
                                           Placement{{1366, 768}, 453, 224},
                                           Placement{{400, 300}, -29, -9},
                                           Placement{{459, 319}, 0, 0}));

struct ControlCase {
  const char* name;
  Rect rect;
  std::uint32_t styleBits;
  const char* text;
};

class Controls : public ::testing::TestWithParam<ControlCase> {};

TEST_P(Controls, AreMadeFromTheirDefinition) {
  Program program;
  ASSERT_TRUE(program.Build());
  const auto* node = program.Control(GetParam().name);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->rect.left, GetParam().rect.left);
  EXPECT_EQ(node->rect.top, GetParam().rect.top);
  EXPECT_EQ(node->rect.width, GetParam().rect.width);
  EXPECT_EQ(node->rect.height, GetParam().rect.height);
  EXPECT_EQ(node->styleBits, GetParam().styleBits);
  EXPECT_EQ(node->text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Controls,
    ::testing::Values(ControlCase{"标签3", {264, 56, 152, 24}, 0, "bbs.halvick.example"},
                      ControlCase{"标签2", {264, 16, 160, 32}, 0, "Halvick论坛"},
                      ControlCase{"标签1", {40, 120, 128, 32}, 0, "祝大家完美通过考试\r\n"},
                      ControlCase{"按钮3", {208, 216, 112, 48}, style::kTabStop, "PPT教程"},
                      ControlCase{"按钮2", {208, 160, 112, 48}, style::kTabStop, "EXCEL教程"},
                      // a drop-down list is made tall enough for its list
                      ControlCase{"组合框1", {48, 64, 120, 160}, style::kTabStop, ""},
                      ControlCase{"按钮1", {208, 104, 112, 48}, style::kTabStop, "WORD教程"}));

TEST(PaperList, HoldsTheTwentyThreePapersInOrderWithTheirNumbersAndNoSelection) {
  Program program;
  ASSERT_TRUE(program.Build());
  const auto* list = program.Control("组合框1");
  ASSERT_EQ(list->items.size(), 23u);
  for (std::size_t i = 0; i < 23; ++i) {
    EXPECT_EQ(list->items[i].first, "Kestrune试卷" + std::to_string(i + 1));
    EXPECT_EQ(list->items[i].second, static_cast<std::int32_t>(i + 1));
  }
  EXPECT_EQ(list->selection, -1);
  EXPECT_EQ(list->itemHeightIncrease, 1);
}

struct ItemCase {
  std::int32_t index;
  std::int32_t value;
};

class ItemValue : public ::testing::TestWithParam<ItemCase> {};

TEST_P(ItemValue, AnswersTheValueOrMinusOneOutsideTheList) {
  Program program;
  ASSERT_TRUE(program.Build());
  EXPECT_EQ(program.shell.ItemValue(kMainWindowId, kPaperListId, GetParam().index),
            GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Indexes, ItemValue,
                         ::testing::Values(ItemCase{-5, -1}, ItemCase{-1, -1}, ItemCase{0, 1},
                                           ItemCase{4, 5}, ItemCase{22, 23}, ItemCase{23, -1}));

TEST(PaperList, SelectionIsReadFromTheListEachTime) {
  Program program;
  ASSERT_TRUE(program.Build());
  EXPECT_EQ(program.shell.CurrentSelection(kMainWindowId, kPaperListId), -1);
  program.Control("组合框1")->selection = 4;
  EXPECT_EQ(program.shell.CurrentSelection(kMainWindowId, kPaperListId), 4);
  program.Control("组合框1")->items.resize(3);  // another process emptied most of it
  EXPECT_EQ(program.shell.ItemValue(kMainWindowId, kPaperListId, 4), -1);
}

TEST(Properties, AreTheStoredValuesBeforeTheBuildAndTheLiveOnesAfter) {
  Program program;
  ASSERT_TRUE(program.shell.InitializeShell());
  auto read = [&](std::uint32_t control, int number) {
    std::int32_t value = -99;
    EXPECT_TRUE(program.shell.ReadProperty(kMainWindowId, control, number, &value));
    return value;
  };
  EXPECT_EQ(read(kPaperListId, 3), 20) << "stored height";
  EXPECT_EQ(read(kPaperListId, 5), 1) << "stored visible flag";
  EXPECT_EQ(read(kPaperListId, 19), -1);

  ASSERT_TRUE(program.shell.BuildWindow(kMainWindowId));
  EXPECT_EQ(read(kPaperListId, 0), 48);
  EXPECT_EQ(read(kPaperListId, 1), 64);
  EXPECT_EQ(read(kPaperListId, 2), 120);
  EXPECT_EQ(read(kPaperListId, 3), 160) << "as created";
  EXPECT_EQ(read(kWordButtonId, 5), 1);
  EXPECT_EQ(read(kWordButtonId, 6), 0);
  EXPECT_EQ(read(kWordButtonId, 7), 0);
  program.Control("按钮1")->enabled = false;
  program.desktop.TopLevel()->visible = false;
  EXPECT_EQ(read(kWordButtonId, 6), 1);
  EXPECT_EQ(read(kWordButtonId, 5), 0) << "hidden with its window";
  program.Control("组合框1")->selection = 7;
  EXPECT_EQ(read(kPaperListId, 19), 7);

  const char* tag = nullptr;
  EXPECT_TRUE(program.shell.ReadProperty(kMainWindowId, kGreetingLabelId, 4, nullptr, &tag));
  EXPECT_STREQ(tag, "");
  EXPECT_FALSE(program.shell.ReadProperty(kMainWindowId, kWordButtonId, 19, nullptr));
  EXPECT_FALSE(program.shell.ReadProperty(kMainWindowId, 0xDEAD, 0, nullptr));
}

TEST(LabelFeedback, RunsTheGreetingHandlerAndAnswersZeroEverywhere) {
  EditableDefinition definition;
  const EventBinding bindings[] = {{event::kLabelFeedback, &Bind<&RecordFeedback>}};
  definition.Control("标签1").bindings = bindings;
  Program program(definition.list, 1);
  ASSERT_TRUE(program.Build());
  for (const char* label : {"标签1", "标签2", "标签3"}) {
    EXPECT_EQ(program.shell.InputLabelFeedback(program.Control(label), -5, INT32_MAX), 0) << label;
  }
  EXPECT_EQ(Calls(), (std::vector<std::string>{"feedback -5 2147483647"}));

  Program real;  // the program's own handler returns nothing either
  ASSERT_TRUE(real.Build());
  EXPECT_EQ(real.shell.InputLabelFeedback(real.Control("标签1"), 1, 2), 0);
}

}  // namespace
}  // namespace valdremo::testing
