// The real valdremo.exe under hostile input from another process, and under
// faults of its surroundings. Every run prints its seed; set
// VALDREMO_SOAK_SEED to replay one (VALDREMO_SOAK_ACTIONS changes the
// length of the main soak).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "build_config.h"
#include "hostile_input.h"
#include "running_program.h"

namespace soak {
namespace {

constexpr std::uint64_t kDefaultSeed = 20150907;
constexpr std::uint64_t kActions = 100000;
constexpr std::uint64_t kClicks = 200;
constexpr std::uint64_t kWarmUpActions = 5000;
constexpr std::uint64_t kTwinActions = 10000;
constexpr std::uint64_t kTwinClicks = 20;
constexpr SIZE_T kMemorySlack = 1024 * 1024;
constexpr DWORD kAnswerMs = 1000;
constexpr DWORD kExitMs = 10000;
constexpr DWORD kBrowserMs = 20000;

std::uint64_t Setting(const wchar_t* name, std::uint64_t fallback) {
  const std::wstring text = EnvironmentVariable(name);
  return text.empty() ? fallback : std::wcstoull(text.c_str(), nullptr, 0);
}

std::uint64_t Seed() { return Setting(L"VALDREMO_SOAK_SEED", kDefaultSeed); }

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    Sleep(20);
  }
  return true;
}

bool IsTutorialAddress(const std::string& address) {
  for (const auto& paper : valdremo::build::kTutorialAddresses) {
    for (const char* tutorial : paper) {
      if (address == tutorial) return true;
    }
  }
  return false;
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// One program started for a test, with its windows found.
struct Instance {
  RunningProgram program;
  Target target;

  void Start() {
    const std::string problem = program.Start();
    ASSERT_EQ(problem, "");
    ASSERT_TRUE(target.Find(program.window())) << "a control of the window is missing";
  }
};

// The browser got exactly the tutorial pages that the clicks asked for.
// Hand-offs run on their own and may finish in any order.
void ExpectOpened(const BrowserLog& log, std::vector<std::string> expected,
                  std::initializer_list<const Instance*> instances) {
  WaitUntil([&] { return log.Addresses().size() >= expected.size(); }, kBrowserMs);
  for (const Instance* instance : instances) instance->program.WaitForChildren(kBrowserMs);
  Sleep(200);  // the browser's own Unix process writes the log just after
  std::vector<std::string> opened = log.Addresses();
  for (const std::string& address : opened) {
    EXPECT_TRUE(IsTutorialAddress(address)) << "not a tutorial page: " << address;
  }
  std::sort(opened.begin(), opened.end());
  std::sort(expected.begin(), expected.end());
  std::vector<std::string> missing, unasked;
  std::set_difference(expected.begin(), expected.end(), opened.begin(), opened.end(),
                      std::back_inserter(missing));
  std::set_difference(opened.begin(), opened.end(), expected.begin(), expected.end(),
                      std::back_inserter(unasked));
  EXPECT_TRUE(missing.empty()) << missing.size() << " of " << expected.size()
                               << " pages asked for were not opened, the first: " << missing[0];
  EXPECT_TRUE(unasked.empty()) << unasked.size() << " pages were opened that no click asked for"
                               << ", the first: " << unasked[0];
}

// It answers at once, and WM_CLOSE still ends it with exit code 0.
void ExpectAnswersAndClosesWithZero(Instance& instance) {
  EXPECT_TRUE(instance.program.Answers(kAnswerMs)) << "no answer within 1 s";
  DWORD exitCode = 1234;
  ASSERT_TRUE(instance.program.Close(kExitMs, &exitCode)) << "still running after WM_CLOSE";
  EXPECT_EQ(exitCode, 0u);
}

TEST(HostileInput, AHundredThousandActionsLeaveTheProgramAnsweringCleanAndClosable) {
  const std::uint64_t seed = Seed();
  const std::uint64_t actions = Setting(L"VALDREMO_SOAK_ACTIONS", kActions);
  std::printf("soak seed %llu (replay: VALDREMO_SOAK_SEED=%llu), %llu actions\n",
              static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed),
              static_cast<unsigned long long>(actions));
  BrowserLog browser;
  Instance instance;
  ASSERT_NO_FATAL_FAILURE(instance.Start());
  HostileInput input(instance.target, seed, instance.program.process());

  // Memory is compared with what the program holds once every kind of
  // action has been done: what it allocates for good then is no leak.
  input.Run(kWarmUpActions, 10);
  input.EveryRareActionOnce();
  ASSERT_EQ(input.tally().failure, "");
  const SIZE_T warm = instance.program.Memory();

  const ULONGLONG started = GetTickCount64();
  input.Run(actions, kClicks);
  const ULONGLONG took = GetTickCount64() - started;
  ASSERT_EQ(input.tally().failure, "") << "seed " << seed;
  const SIZE_T after = instance.program.Memory();

  const Tally& tally = input.tally();
  std::printf("soak: %llu actions in %.1f s (%llu sent, %llu posted, %llu clicks, %zu pages)\n",
              static_cast<unsigned long long>(tally.actions), static_cast<double>(took) / 1000,
              static_cast<unsigned long long>(tally.sent),
              static_cast<unsigned long long>(tally.posted),
              static_cast<unsigned long long>(tally.clicks), tally.expectedAddresses.size());
  std::printf("soak: anonymous memory %.2f MiB after warm-up, %.2f MiB after the soak\n", MiB(warm),
              MiB(after));
  EXPECT_GE(tally.actions, kWarmUpActions + actions);
  ASSERT_GT(warm, 0u) << "the process's memory cannot be read";
  EXPECT_LE(after, warm + kMemorySlack) << "the program grew by " << MiB(after - warm) << " MiB";
  ExpectOpened(browser, tally.expectedAddresses, {&instance});
  ExpectAnswersAndClosesWithZero(instance);
}

TEST(HostileInput, TwoProgramsSoakedAtOnceShareNothingAndEachEndsWithZero) {
  const std::uint64_t seed = Seed();
  std::printf("soak seeds %llu and %llu, %llu actions each\n",
              static_cast<unsigned long long>(seed + 1), static_cast<unsigned long long>(seed + 2),
              static_cast<unsigned long long>(kTwinActions));
  BrowserLog browser;
  Instance first, second;
  ASSERT_NO_FATAL_FAILURE(first.Start());
  ASSERT_NO_FATAL_FAILURE(second.Start());
  HostileInput firstInput(first.target, seed + 1, first.program.process());
  HostileInput secondInput(second.target, seed + 2, second.program.process());

  std::thread other([&] { secondInput.Run(kTwinActions, kTwinClicks); });
  firstInput.Run(kTwinActions, kTwinClicks);
  other.join();
  ASSERT_EQ(firstInput.tally().failure, "") << "first program, seed " << seed + 1;
  ASSERT_EQ(secondInput.tally().failure, "") << "second program, seed " << seed + 2;

  // Each still opens its own selection, whatever the other holds.
  firstInput.RefillPaperList();
  secondInput.RefillPaperList();
  firstInput.SelectAndClick(4, 0);
  secondInput.SelectAndClick(16, 2);
  firstInput.SelectAndClick(22, 1);
  ASSERT_FALSE(firstInput.failed() || secondInput.failed());

  std::vector<std::string> expected = firstInput.tally().expectedAddresses;
  const std::vector<std::string>& more = secondInput.tally().expectedAddresses;
  expected.insert(expected.end(), more.begin(), more.end());
  ExpectOpened(browser, expected, {&first, &second});
  {
    SCOPED_TRACE("first program");
    ExpectAnswersAndClosesWithZero(first);
  }
  {
    SCOPED_TRACE("second program");
    ExpectAnswersAndClosesWithZero(second);
  }
}

// Names a program that does not exist as the session's only web browser,
// for the life of the object. The list it replaces is kept in a value of
// its own first, so a run cut short is repaired by the next one.
class NoBrowser {
 public:
  NoBrowser() {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    Restore();
    Write(kSaved, Read(kBrowsers));
    Write(kBrowsers, L"/nonexistent/valdremo-soak-browser");
  }
  ~NoBrowser() {
    Restore();
    RegCloseKey(key_);
  }
  NoBrowser(const NoBrowser&) = delete;
  NoBrowser& operator=(const NoBrowser&) = delete;

 private:
  static constexpr wchar_t kBrowsers[] = L"Browsers";
  static constexpr wchar_t kSaved[] = L"Browsers saved by the soak";

  std::wstring Read(const wchar_t* name) const {
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof value[0];
    if (RegQueryValueExW(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size)) {
      return L"";
    }
    return value;
  }
  void Write(const wchar_t* name, const std::wstring& value) const {
    RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  void Restore() const {
    const std::wstring saved = Read(kSaved);
    if (saved.empty()) return;
    Write(kBrowsers, saved);
    RegDeleteValueW(key_, kSaved);
  }

  HKEY key_ = nullptr;
};

TEST(MissingBrowser, AClickOpensNothingShowsNothingOfOursAndTheWindowKeepsWorking) {
  NoBrowser noBrowser;
  BrowserLog browser;
  Instance instance;
  ASSERT_NO_FATAL_FAILURE(instance.Start());
  HostileInput input(instance.target, Seed() + 3, instance.program.process());
  for (int part = 0; part < 3; ++part) input.SelectAndClick(2, part);
  ASSERT_EQ(input.tally().failure, "");
  instance.program.WaitForChildren(kBrowserMs);

  EXPECT_TRUE(browser.Addresses().empty()) << "the test's browser list was not in effect";
  for (HWND window : instance.program.TopLevelWindows()) {
    const std::string name = Narrow(ClassName(window));
    EXPECT_NE(name, "#32770") << "a dialog box of the program appeared";
    if (window != instance.program.window()) {
      EXPECT_FALSE(IsWindowVisible(window)) << "a window of class " << name << " appeared";
    }
  }

  input.Run(2000, 6);
  ASSERT_EQ(input.tally().failure, "");
  instance.program.WaitForChildren(kBrowserMs);
  EXPECT_TRUE(browser.Addresses().empty());
  ExpectAnswersAndClosesWithZero(instance);
}

}  // namespace
}  // namespace soak
