// The tutorial addresses and what a click on a tutorial button opens.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "build_config.h"
#include "launcher/tutorial.h"
#include "support/fixtures.h"

namespace valdremo::testing {
namespace {

const std::string kHost = std::string("http://") + build::kTutorialHost;

TEST(TutorialAddress, FollowsTheOneRuleForAllSixtyNinePairs) {
  for (std::int32_t paper = 1; paper <= 23; ++paper) {
    for (std::int32_t subject = 1; subject <= 3; ++subject) {
      const std::string expected =
          kHost + "/MS/" + std::to_string(paper) + "_" + std::to_string(subject) + "_20150907.html";
      const char* address = TutorialAddress(paper, subject);
      ASSERT_NE(address, nullptr);
      EXPECT_EQ(address, expected);
    }
  }
}

TEST(TutorialAddress, TellingRowsSpelledOut) {
  const struct {
    std::int32_t paper, subject;
    const char* path;
  } rows[] = {{1, 1, "/MS/1_1_20150907.html"},   {1, 2, "/MS/1_2_20150907.html"},
              {1, 3, "/MS/1_3_20150907.html"},   {9, 1, "/MS/9_1_20150907.html"},
              {10, 1, "/MS/10_1_20150907.html"}, {17, 2, "/MS/17_2_20150907.html"},
              {23, 3, "/MS/23_3_20150907.html"}};
  for (const auto& row : rows) {
    EXPECT_EQ(TutorialAddress(row.paper, row.subject), kHost + row.path);
  }
}

TEST(TutorialAddress, NothingOutsideTheTable) {
  for (auto [paper, subject] :
       {std::pair{0, 1}, {24, 1}, {-1, 2}, {INT_MIN, 3}, {INT_MAX, 1}, {1, 0}, {1, 4}}) {
    EXPECT_EQ(TutorialAddress(paper, subject), nullptr) << paper << "_" << subject;
  }
}

struct ClickCase {
  const char* what;
  std::int32_t selection;  // -1: nothing selected
  std::int32_t value;      // the value the selected item carries now
  const char* button;
  const char* path;  // null: nothing is opened
};

class Click : public ::testing::TestWithParam<ClickCase> {};

TEST_P(Click, OpensTheSelectedPapersPageOrNothing) {
  Program program;
  ASSERT_TRUE(program.Build());
  auto* list = program.Control("组合框1");
  list->selection = GetParam().selection;
  if (GetParam().selection >= 0) list->items[GetParam().selection].second = GetParam().value;
  list->text = "Kestrune试卷5";  // typed text plays no part

  program.desktop.Click(program.Control(GetParam().button));
  if (GetParam().path == nullptr) {
    EXPECT_TRUE(program.desktop.openedAddresses.empty());
  } else {
    EXPECT_EQ(program.desktop.openedAddresses, (std::vector<std::string>{kHost + GetParam().path}));
  }
  EXPECT_EQ(list->selection, GetParam().selection) << "the click changes nothing in the window";
  EXPECT_EQ(list->text, "Kestrune试卷5");
  EXPECT_EQ(program.Control(GetParam().button)->text.empty(), false);
  EXPECT_EQ(program.Focused(), "按钮1");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Click,
    ::testing::Values(ClickCase{"nothing_selected", -1, 0, "按钮1", nullptr},
                      ClickCase{"value_0", 0, 0, "按钮1", nullptr},
                      ClickCase{"value_24", 22, 24, "按钮2", nullptr},
                      ClickCase{"value_minus_1", 3, -1, "按钮3", nullptr},
                      ClickCase{"value_int_min", 3, INT_MIN, "按钮1", nullptr},
                      ClickCase{"value_int_max", 3, INT_MAX, "按钮1", nullptr},
                      ClickCase{"paper_1_word", 0, 1, "按钮1", "/MS/1_1_20150907.html"},
                      ClickCase{"paper_9_excel", 8, 9, "按钮2", "/MS/9_2_20150907.html"},
                      ClickCase{"paper_10_excel", 9, 10, "按钮2", "/MS/10_2_20150907.html"},
                      ClickCase{"paper_23_ppt", 22, 23, "按钮3", "/MS/23_3_20150907.html"},
                      // the value counts, not the item's position
                      ClickCase{"value_not_position", 0, 17, "按钮2", "/MS/17_2_20150907.html"}),
    ByWhat());

TEST(Click, TheSameClickTwiceAsksTwice) {
  Program program;
  ASSERT_TRUE(program.Build());
  program.Control("组合框1")->selection = 4;
  program.desktop.Click(program.Control("按钮1"));
  program.desktop.Click(program.Control("按钮1"));
  EXPECT_EQ(program.desktop.openedAddresses,
            (std::vector<std::string>(2, kHost + "/MS/5_1_20150907.html")));
}

TEST(Click, ASelectionBeyondAShrunkListOpensNothing) {
  Program program;
  ASSERT_TRUE(program.Build());
  auto* list = program.Control("组合框1");
  list->selection = 20;
  list->items.resize(5);  // items removed by another process
  program.desktop.Click(program.Control("按钮3"));
  EXPECT_TRUE(program.desktop.openedAddresses.empty());
}

}  // namespace
}  // namespace valdremo::testing
