// Keyboard focus and the keys that the window handles itself, with real key
// strokes through the system's input queue.
#include <string>
#include <vector>

#include "program_fixture.h"

namespace e2e {
namespace {

class Keyboard : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(program.Activate()) << "the main window did not become the active window";
  }

  // Presses the key and waits until the focus is on the control with that
  // id; answers where the focus is then.
  int PressAndFollow(WORD key, bool shift, int expected) {
    program.PressKey(key, shift);
    program.WaitForFocus(expected);
    return program.FocusedControl();
  }
};

TEST_F(Keyboard, StartsWithTheFocusOnTheWordButton) {
  EXPECT_EQ(program.FocusedControl(), kWordButton);
}

TEST_F(Keyboard, TabAndShiftTabGoRoundTheButtonsAndThePaperList) {
  for (int next : {kPaperList, kExcelButton, kPptButton, kWordButton}) {
    EXPECT_EQ(PressAndFollow(VK_TAB, false, next), next);
  }
  for (int previous : {kPptButton, kExcelButton, kPaperList, kWordButton}) {
    EXPECT_EQ(PressAndFollow(VK_TAB, true, previous), previous);
  }
}

TEST_F(Keyboard, EnterShiftEscAndF1LeaveTheFocusAndClickNothing) {
  // With a paper selected, a click would show in the browser log.
  SendMessageW(Control(kPaperList), CB_SETCURSEL, 0, 0);
  program.PressKey(VK_RETURN);
  program.PressKey(VK_F1);
  program.PressKey(VK_ESCAPE, true);
  // Keys are handled in order: once this Tab has moved the focus on, the
  // keys before it have been handled too.
  EXPECT_EQ(PressAndFollow(VK_TAB, false, kPaperList), kPaperList);
  program.PressKey(VK_RETURN);
  program.PressKey(VK_F1);
  EXPECT_EQ(PressAndFollow(VK_TAB, false, kExcelButton), kExcelButton);

  EXPECT_TRUE(program.Running());
  Sleep(300);  // the browser would start well within this
  EXPECT_TRUE(browser.Addresses().empty());
}

TEST_F(Keyboard, SpaceClicksTheFocusedButton) {
  SendMessageW(Control(kPaperList), CB_SETCURSEL, 0, 0);
  program.PressKey(VK_SPACE);
  const std::vector<std::string> addresses = browser.WaitForAddresses(1, 5000);
  ASSERT_EQ(addresses.size(), 1u);
  EXPECT_EQ(addresses[0],
            std::string("http://") + VALDREMO_TUTORIAL_HOST + "/MS/1_1_20150907.html");
}

// A top-level window of the test's own, to take the activation away.
class OtherWindow {
 public:
  OtherWindow() {
    window_ = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                              200, nullptr, nullptr, nullptr, nullptr);
  }
  ~OtherWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
  }
  OtherWindow(const OtherWindow&) = delete;
  OtherWindow& operator=(const OtherWindow&) = delete;

  bool Activate() const {
    ShowWindow(window_, SW_SHOW);
    return MakeForeground(window_);
  }

 private:
  HWND window_ = nullptr;
};

TEST_F(Keyboard, TheFocusComesBackToItsControlWhenTheWindowIsActivatedAgain) {
  OtherWindow other;
  for (int id : {kExcelButton, kPaperList}) {
    SCOPED_TRACE(testing::Message() << "control " << id);
    // Tab from wherever the focus is until it is on the control.
    for (int i = 0; i < 4 && program.FocusedControl() != id; ++i) {
      const int before = program.FocusedControl();
      program.PressKey(VK_TAB);
      WaitUntil([&] { return program.FocusedControl() != before; }, kStepTimeoutMs);
    }
    ASSERT_EQ(program.FocusedControl(), id);
    ASSERT_TRUE(other.Activate());
    ASSERT_TRUE(program.Activate());
    EXPECT_EQ(program.FocusedControl(), id);
  }
}

// Esc closes the window from wherever the focus is; the process ends with
// exit code 0.
struct EscapeCase {
  const char* name;
  int tabs;       // Tab presses before Esc
  bool dropDown;  // paper list dropped down before Esc
};

class EscapeKey : public Keyboard, public testing::WithParamInterface<EscapeCase> {};

TEST_P(EscapeKey, ClosesTheWindowAndEndsTheProgram) {
  const EscapeCase& escape = GetParam();
  const int sequence[] = {kWordButton, kPaperList, kExcelButton, kPptButton};
  const int target = sequence[escape.tabs];
  for (int i = 1; i <= escape.tabs; ++i) {
    ASSERT_EQ(PressAndFollow(VK_TAB, false, sequence[i]), sequence[i]);
  }
  if (escape.dropDown) {
    SendMessageW(Control(kPaperList), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageW(Control(kPaperList), CB_GETDROPPEDSTATE, 0, 0));
  }
  ASSERT_EQ(program.FocusedControl(), target);
  program.PressKey(VK_ESCAPE);
  DWORD exitCode = 1234;
  ASSERT_TRUE(program.WaitForExit(5000, &exitCode)) << "still running after Esc";
  EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    FromEachPlace, EscapeKey,
    testing::Values(EscapeCase{"WordButton", 0, false}, EscapeCase{"PaperListField", 1, false},
                    EscapeCase{"DroppedPaperList", 1, true}, EscapeCase{"PptButton", 3, false}),
    [](const testing::TestParamInfo<EscapeCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace e2e
