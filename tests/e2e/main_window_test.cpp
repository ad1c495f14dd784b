// The main window as another program sees it right after start: its place,
// frame, controls, their order and the paper list.
#include <climits>
#include <string>
#include <vector>

#include "program_fixture.h"

namespace e2e {
namespace {

using MainWindow = ProgramTest;

LONG Style(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

TEST_F(MainWindow, OpensCentredOnThePrimaryScreenWithAFixedFrame) {
  RECT rect{};
  ASSERT_TRUE(GetWindowRect(program.Window(), &rect));
  EXPECT_EQ(rect.right - rect.left, 459);
  EXPECT_EQ(rect.bottom - rect.top, 319);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 459) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 319) / 2);

  const LONG style = Style(program.Window());
  const LONG wanted = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_VISIBLE;
  EXPECT_EQ(style & wanted, wanted);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_DISABLED | WS_CHILD | WS_POPUP), 0);
  // The platform adds the edge that goes with a caption; nothing else.
  const LONG exStyle = GetWindowLongW(program.Window(), GWL_EXSTYLE);
  EXPECT_EQ(exStyle & ~WS_EX_WINDOWEDGE, 0) << std::hex << exStyle;
  EXPECT_EQ(GetWindow(program.Window(), GW_OWNER), nullptr);
}

TEST_F(MainWindow, IsTheOnlyWindowThatTheProgramShows) {
  std::vector<HWND> visible;
  for (HWND window : TopLevelWindowsOf(program.ProcessId())) {
    if (IsWindowVisible(window)) visible.push_back(window);
  }
  ASSERT_EQ(visible.size(), 1u);
  EXPECT_EQ(visible[0], program.Window());
}

struct ControlFacts {
  int id;
  const wchar_t* className;
  RECT rect;  // left, top, right, bottom in the window's client area
  const wchar_t* text;
  LONG styleSet;
  LONG styleClear;
};

constexpr LONG kButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_MULTILINE | BS_CENTER | BS_VCENTER;
constexpr LONG kLabelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

std::wstring CommunityAddress() { return Widen(VALDREMO_COMMUNITY_ADDRESS); }

TEST_F(MainWindow, HoldsItsSevenControlsWhereTheyBelong) {
  const std::wstring address = CommunityAddress();
  const ControlFacts controls[] = {
      {kWordButton, L"Button", {208, 104, 320, 152}, L"WORD教程", kButtonStyle, WS_DISABLED},
      {kExcelButton, L"Button", {208, 160, 320, 208}, L"EXCEL教程", kButtonStyle, WS_DISABLED},
      {kPptButton, L"Button", {208, 216, 320, 264}, L"PPT教程", kButtonStyle, WS_DISABLED},
      {kPaperList,
       L"ComboBox",
       {48, 64, 168, 0},
       L"",
       WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | CBS_DROPDOWN | CBS_AUTOHSCROLL,
       WS_DISABLED | CBS_SORT | CBS_SIMPLE},
      {kGreetingLabel,
       L"ValdremoLabel",
       {40, 120, 168, 152},
       L"祝大家完美通过考试\r\n",
       kLabelStyle,
       WS_TABSTOP | WS_DISABLED},
      {kCommunityNameLabel,
       L"ValdremoLabel",
       {264, 16, 424, 48},
       L"Halvick论坛",
       kLabelStyle,
       WS_TABSTOP | WS_DISABLED},
      {kCommunityAddressLabel,
       L"ValdremoLabel",
       {264, 56, 416, 80},
       address.c_str(),
       kLabelStyle,
       WS_TABSTOP | WS_DISABLED},
  };
  for (const ControlFacts& facts : controls) {
    SCOPED_TRACE(testing::Message() << "control " << facts.id);
    HWND control = Control(facts.id);
    ASSERT_NE(control, nullptr);
    // Class names compare without case: the platform's own are registered
    // in its spelling.
    EXPECT_EQ(_wcsicmp(ClassName(control).c_str(), facts.className), 0)
        << Narrow(ClassName(control));
    const RECT rect = ClientRectInParent(control);
    EXPECT_EQ(rect.left, facts.rect.left);
    EXPECT_EQ(rect.top, facts.rect.top);
    EXPECT_EQ(rect.right, facts.rect.right);
    // The paper list's field is as tall as the platform makes it.
    if (facts.id != kPaperList) {
      EXPECT_EQ(rect.bottom, facts.rect.bottom);
    }
    EXPECT_EQ(Narrow(WindowText(control)), Narrow(facts.text));
    const LONG style = Style(control);
    EXPECT_EQ(style & facts.styleSet, facts.styleSet) << std::hex << style;
    EXPECT_EQ(style & facts.styleClear, 0) << std::hex << style;
  }
  // None of the buttons is a default button: Enter clicks none of them.
  for (int id : {kWordButton, kExcelButton, kPptButton}) {
    EXPECT_EQ(Style(Control(id)) & BS_TYPEMASK, BS_PUSHBUTTON) << "button " << id;
  }
}

TEST_F(MainWindow, StacksItsControlsFromTheCommunityAddressDownToTheWordButton) {
  std::vector<int> ids;
  for (HWND child = GetWindow(program.Window(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ids.push_back(GetDlgCtrlID(child));
  }
  EXPECT_EQ(ids, (std::vector<int>{kCommunityAddressLabel, kCommunityNameLabel, kGreetingLabel,
                                   kPptButton, kExcelButton, kPaperList, kWordButton}));
}

TEST_F(MainWindow, ListsTheTwentyThreePapersInOrderWithNothingSelected) {
  HWND list = Control(kPaperList);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 23);
  for (int i = 0; i < 23; ++i) {
    SCOPED_TRACE(testing::Message() << "item " << i);
    wchar_t text[64] = {};
    ASSERT_LT(SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0), 64);
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(Narrow(text), Narrow(L"Kestrune试卷" + std::to_wstring(i + 1)));
    EXPECT_EQ(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0), i + 1);
  }
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(WindowText(list), L"");
}

// The list part of the paper list: a top-level window of the program's.
// (Wine's GetComboBoxInfo does not reach into another process.)
HWND DropDownList(DWORD processId) {
  for (HWND window : TopLevelWindowsOf(processId)) {
    if (ClassName(window) == L"ComboLBox") return window;
  }
  return nullptr;
}

TEST_F(MainWindow, ThePaperListDropsDownWithAScrollBar) {
  HWND list = Control(kPaperList);
  HWND dropDown = DropDownList(program.ProcessId());
  ASSERT_NE(dropDown, nullptr);
  // Some platforms keep the scroll bar style on the combo box, others move
  // it to the list that drops down.
  EXPECT_NE((Style(list) | Style(dropDown)) & WS_VSCROLL, 0);

  SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_TRUE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_TRUE(IsWindowVisible(dropDown));
  EXPECT_EQ(SendMessageW(dropDown, LB_GETCOUNT, 0, 0), 23);
  SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_FALSE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(MainWindow, LabelsAnswerTheFeedbackMessageWithZero) {
  constexpr UINT kFeedback = 0x8075;
  const std::pair<WPARAM, LPARAM> arguments[] = {
      {0, 0}, {1, -1}, {static_cast<WPARAM>(INT_MIN), INT_MAX}, {12345, 678}};
  for (int id : {kGreetingLabel, kCommunityNameLabel, kCommunityAddressLabel}) {
    for (const auto& [first, second] : arguments) {
      SCOPED_TRACE(testing::Message()
                   << "label " << id << " (" << static_cast<int>(first) << ", " << second << ")");
      DWORD_PTR answer = 99;
      ASSERT_TRUE(SendMessageTimeoutW(Control(id), kFeedback, first, second, SMTO_ABORTIFHUNG,
                                      kStepTimeoutMs, &answer));
      EXPECT_EQ(answer, 0u);
    }
  }
  EXPECT_TRUE(program.Running());
  EXPECT_EQ(Narrow(WindowText(Control(kGreetingLabel))), "祝大家完美通过考试\r\n");
}

}  // namespace
}  // namespace e2e
