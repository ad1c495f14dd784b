// Clicks on the tutorial buttons, seen from the default browser: the test
// session's browser records each address it is asked to open.
#include <cstdio>
#include <string>
#include <vector>

#include "program_fixture.h"

namespace e2e {
namespace {

constexpr DWORD kBrowserTimeoutMs = 5000;

std::string Tutorial(const char* paperAndSubject) {
  return std::string("http://") + VALDREMO_TUTORIAL_HOST + "/MS/" + paperAndSubject +
         "_20150907.html";
}

class Launcher : public ProgramTest {
 protected:
  void TearDown() override {
    // For the record: what the browser was asked to open in this test.
    for (const std::string& address : browser.Addresses()) {
      std::printf("browser opened: %s\n", address.c_str());
    }
    ProgramTest::TearDown();
  }

  void Select(int index) const {
    SendMessageW(Control(kPaperList), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  void Click(int button) const { SendMessageW(Control(button), BM_CLICK, 0, 0); }
};

TEST_F(Launcher, AClickOpensTheTutorialOfTheSelectedPaperAndTheButtonsSubject) {
  struct Case {
    int index, button;
    const char* tutorial;
  };
  const Case cases[] = {
      {0, kWordButton, "1_1"},    {0, kExcelButton, "1_2"}, {0, kPptButton, "1_3"},
      {22, kPptButton, "23_3"},   {8, kExcelButton, "9_2"}, {9, kExcelButton, "10_2"},
      {16, kExcelButton, "17_2"}, {9, kWordButton, "10_1"},
  };
  std::size_t count = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "item " << c.index << ", button " << c.button);
    Select(c.index);
    Click(c.button);
    const std::vector<std::string> addresses = browser.WaitForAddresses(++count, kBrowserTimeoutMs);
    ASSERT_EQ(addresses.size(), count);
    EXPECT_EQ(addresses.back(), Tutorial(c.tutorial));
    // The click leaves the paper list as it was.
    EXPECT_EQ(SendMessageW(Control(kPaperList), CB_GETCURSEL, 0, 0), c.index);
    EXPECT_EQ(Narrow(WindowText(Control(kPaperList))),
              Narrow(L"Kestrune试卷" + std::to_wstring(c.index + 1)));
  }
}

TEST_F(Launcher, EachClickIsOneRequestEvenForTheSameAddress) {
  Select(4);
  Click(kExcelButton);
  Click(kExcelButton);
  const std::vector<std::string> addresses = browser.WaitForAddresses(2, kBrowserTimeoutMs);
  Sleep(300);  // a third request would have arrived by now
  EXPECT_EQ(browser.Addresses(), (std::vector<std::string>{Tutorial("5_2"), Tutorial("5_2")}));
}

TEST_F(Launcher, AClickWithoutAPaperNumberOpensNothing) {
  // Nothing selected.
  for (int button : {kWordButton, kExcelButton, kPptButton}) Click(button);
  // Items whose values are no paper numbers, set from outside.
  const std::pair<int, LPARAM> badValues[] = {{0, 0}, {1, 24}, {2, -1}};
  for (const auto& [index, value] : badValues) {
    SendMessageW(Control(kPaperList), CB_SETITEMDATA, static_cast<WPARAM>(index), value);
    Select(index);
    for (int button : {kWordButton, kExcelButton, kPptButton}) Click(button);
  }
  // The clicks above are served in order before this one; had any of them
  // asked for a page, its request would have been on its way first.
  Select(22);
  Click(kWordButton);
  ASSERT_EQ(browser.WaitForAddresses(1, kBrowserTimeoutMs).size(), 1u);
  Sleep(500);
  EXPECT_EQ(browser.Addresses(), std::vector<std::string>{Tutorial("23_1")});
}

}  // namespace
}  // namespace e2e
