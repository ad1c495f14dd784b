// The Windows desktop with the real window system, in this process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/program.h"
#include "shell/shell.h"
#include "win32/win32_desktop.h"
#include "window/main_window.h"

namespace valdremo::win32 {
namespace {

struct Request {
  HWND owner;
  std::wstring verb, file;
  bool parameters, directory;
  INT show;
};
std::vector<Request> requests;

HINSTANCE WINAPI RecordRequest(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                               LPCWSTR directory, INT show) {
  requests.push_back({owner, verb, file, parameters != nullptr, directory != nullptr, show});
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(2));  // a failure: nobody looks
}

// The main window built on the real desktop, its messages pumped on demand.
class BuiltWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    requests.clear();
    desktop.shellExecute = &RecordRequest;
    ASSERT_TRUE(shell.InitializeShell());
    ASSERT_TRUE(shell.BuildWindow(kMainWindowId));
    window = static_cast<HWND>(shell.FindNativeWindow(kMainWindowId));
    shell.ProcessPendingMessages();
  }
  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
    shell.ProcessPendingMessages();
  }
  HWND Control(std::uint32_t id) { return static_cast<HWND>(shell.FindControl(kMainWindowId, id)); }

  Win32Desktop desktop{GetModuleHandleW(nullptr)};
  Shell shell{desktop, ProgramWindowDefinitions(), ProgramWindowDefinitionCount()};
  HWND window = nullptr;
};

TEST_F(BuiltWindow, CarriesTheProgramIconInBothSizes) {
  const auto big = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
  const auto small = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(small, &info));
  BITMAP bitmap{};
  GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, 16);
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
}

TEST_F(BuiltWindow, ThePaperListAnswersItsColourRequestsInBlackOnWhite) {
  HWND combo = Control(kPaperListId);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  HDC dc = GetDC(combo);
  for (HWND part : {info.hwndItem, info.hwndList}) {
    const UINT message = part == info.hwndItem ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX;
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        window, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(part)));
    ASSERT_NE(brush, nullptr);
    LOGBRUSH logBrush{};
    GetObjectW(brush, sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbColor, RGB(255, 255, 255));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  }
  ReleaseDC(combo, dc);
}

TEST_F(BuiltWindow, LabelsAnswerTheFeedbackMessageWithZero) {
  for (std::uint32_t id : {kGreetingLabelId, kCommunityNameLabelId, kCommunityAddressLabelId}) {
    for (auto [w, l] : {std::pair<WPARAM, LPARAM>{0, 0}, {0xFFFFFFFF, 0x7FFFFFFF}, {5, -5}}) {
      EXPECT_EQ(SendMessageW(Control(id), kLabelFeedbackMessage, w, l), 0);
    }
  }
}

TEST_F(BuiltWindow, TheGreetingKeepsItsLineBreakInItsText) {
  wchar_t text[64] = {};
  GetWindowTextW(Control(kGreetingLabelId), text, 64);
  EXPECT_STREQ(text, L"祝大家完美通过考试\r\n");
}

struct OwnerCase {
  const char* what;
  const wchar_t* otherTitle;  // a top-level window of that title exists; null: none
  bool owned;
};

class BrowserOwner : public BuiltWindow, public ::testing::WithParamInterface<OwnerCase> {};

TEST_P(BrowserOwner, IsTheWindowWithExactlyThatTitleOrNone) {
  HWND other = nullptr;
  if (GetParam().otherTitle != nullptr) {
    other = CreateWindowExW(0, L"STATIC", GetParam().otherTitle, WS_OVERLAPPED, 0, 0, 50, 50,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
  }
  SendMessageW(Control(kPaperListId), CB_SETCURSEL, 22, 0);
  SendMessageW(Control(kPptButtonId), BM_CLICK, 0, 0);
  if (other != nullptr) DestroyWindow(other);

  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].owner, GetParam().owned ? other : nullptr);
  EXPECT_NE(requests[0].owner, window);
  EXPECT_EQ(requests[0].verb, L"open");
  const std::wstring tail = L"/MS/23_3_20150907.html";
  EXPECT_EQ(requests[0].file.substr(0, 7), L"http://");
  EXPECT_EQ(requests[0].file.substr(requests[0].file.size() - tail.size()), tail);
  EXPECT_FALSE(requests[0].parameters);
  EXPECT_FALSE(requests[0].directory);
  EXPECT_EQ(requests[0].show, SW_SHOWNORMAL);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, BrowserOwner,
    ::testing::Values(OwnerCase{"exact_title", L"Microsoft Internet Explorer", true},
                      OwnerCase{"longer_title", L"Microsoft Internet Explorer 8", false},
                      OwnerCase{"no_such_window", nullptr, false}),
    [](const auto& param) { return std::string(param.param.what); });

// A desktop on which one control cannot be made.
class FailingDesktop : public Win32Desktop {
 public:
  using Win32Desktop::Win32Desktop;
  NativeWindow CreateControl(const ControlCreateParams& params) override {
    if (params.childId == 130) return nullptr;
    return Win32Desktop::CreateControl(params);
  }
  void ReportStartupFailure(const char* message) override { reported = message; }
  std::string reported;
};

BOOL CALLBACK CountOurWindows(HWND window, LPARAM count) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wstring(name) == kWindowClass) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TEST(StartFailure, LeavesNoWindowAndEndsWithMinusOne) {
  FailingDesktop desktop(GetModuleHandleW(nullptr));
  EXPECT_EQ(RunProgram(desktop), -1);
  EXPECT_NE(desktop.reported.find("无法启动"), std::string::npos);
  // Only this thread's windows: other test programs may run beside this one.
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountOurWindows, reinterpret_cast<LPARAM>(&count));
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace valdremo::win32
