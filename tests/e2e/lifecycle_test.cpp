// How the program ends, and instances side by side.
#include <string>

#include "program_fixture.h"

namespace e2e {
namespace {

using Lifecycle = ProgramTest;

// Every way of asking the window to close ends the process with exit code 0.
struct CloseCase {
  const char* name;
  void (*request)(const Program&);
};

class CloseRequest : public ProgramTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(CloseRequest, EndsTheProgramWithExitCodeZero) {
  GetParam().request(program);
  DWORD exitCode = 1234;
  ASSERT_TRUE(program.WaitForExit(5000, &exitCode)) << "still running";
  EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Each, CloseRequest,
    testing::Values(CloseCase{"CloseMessage",
                              [](const Program& p) { PostMessageW(p.Window(), WM_CLOSE, 0, 0); }},
                    CloseCase{"SystemMenuClose",
                              [](const Program& p) {
                                PostMessageW(p.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
                              }},
                    CloseCase{"AltF4",
                              [](const Program& p) {
                                ASSERT_TRUE(p.Activate());
                                INPUT keys[4]{};
                                const WORD sequence[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
                                for (int i = 0; i < 4; ++i) {
                                  keys[i].type = INPUT_KEYBOARD;
                                  keys[i].ki.wVk = sequence[i];
                                  keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
                                }
                                SendInput(4, keys, sizeof(INPUT));
                              }}),
    [](const testing::TestParamInfo<CloseCase>& param) { return std::string(param.param.name); });

TEST_F(Lifecycle, AQuitMessageFromOutsideEndsTheProgramWithItsCode) {
  ASSERT_TRUE(PostThreadMessageW(program.ThreadId(), WM_QUIT, 7, 0));
  DWORD exitCode = 1234;
  ASSERT_TRUE(program.WaitForExit(5000, &exitCode)) << "still running";
  EXPECT_EQ(exitCode, 7u);
}

TEST_F(Lifecycle, MinimisingDoesNotEndTheProgram) {
  ShowWindow(program.Window(), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(program.Window()) != FALSE; }, kStepTimeoutMs));
  Sleep(200);
  EXPECT_TRUE(program.Running());
  ShowWindow(program.Window(), SW_RESTORE);
  ASSERT_TRUE(WaitUntil([&] { return !IsIconic(program.Window()); }, kStepTimeoutMs));
  RECT rect{};
  GetWindowRect(program.Window(), &rect);
  EXPECT_EQ(rect.right - rect.left, 459);
  EXPECT_EQ(rect.bottom - rect.top, 319);
}

TEST_F(Lifecycle, TwoInstancesRunSideBySideAndEndSeparately) {
  Program second;
  ASSERT_EQ(second.Start(), "");
  EXPECT_NE(second.ProcessId(), program.ProcessId());
  EXPECT_NE(second.Window(), program.Window());

  PostMessageW(program.Window(), WM_CLOSE, 0, 0);
  DWORD exitCode = 1234;
  ASSERT_TRUE(program.WaitForExit(5000, &exitCode));
  EXPECT_EQ(exitCode, 0u);

  EXPECT_TRUE(second.Running());
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(second.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStepTimeoutMs,
                                  &answer));
  EXPECT_TRUE(IsWindowVisible(second.Window()));
  EXPECT_EQ(SendMessageW(second.Control(kPaperList), CB_GETCOUNT, 0, 0), 23);
}

}  // namespace
}  // namespace e2e
