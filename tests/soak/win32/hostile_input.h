// Random input from another process against a running valdremo.exe: the
// kinds of message that any process may send or post to its windows, in a
// sequence fixed by a seed so that a failure can be replayed.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "random.h"

namespace soak {

// The windows of one running program that the input aims at.
struct Target {
  HWND main = nullptr;
  HWND labels[3] = {};
  HWND buttons[3] = {};     // WORD, EXCEL, PPT
  HWND list = nullptr;      // the paper list (a combo box)
  HWND field = nullptr;     // its edit field
  HWND dropDown = nullptr;  // its drop-down list, a top-level window

  // Finds them from the program's main window; false if one is missing.
  bool Find(HWND mainWindow);
};

// What the input did and found.
struct Tally {
  std::uint64_t actions = 0;
  std::uint64_t sent = 0;
  std::uint64_t posted = 0;
  std::uint64_t clicks = 0;
  // The tutorial addresses that the clicks had to open, in click order.
  std::vector<std::string> expectedAddresses;
  // Empty while all goes well; else what went wrong first, with the last
  // steps before it.
  std::string failure;
};

class HostileInput {
 public:
  HostileInput(const Target& target, std::uint64_t seed, HANDLE process);

  // Runs `actions` random actions, `clicks` of them button clicks spread
  // evenly. Stops at the first hang or wrong answer. A watchdog ends the
  // program if a call into it blocks for longer than any step may take.
  void Run(std::uint64_t actions, std::uint64_t clicks);

  // Does once each of the actions that come rarely at random (the long
  // text, the colour change, the refilled list, a click on each button),
  // so that whatever the program allocates for them is in place.
  void EveryRareActionOnce();

  // Waits until the program has handled every message posted so far.
  bool Drain();

  // Empties the paper list and adds the 23 papers again, values 1 to 23.
  void RefillPaperList();

  // Selects the item at `index` and clicks the button of `part` (0 WORD,
  // 1 EXCEL, 2 PPT); records the address that the click must open.
  void SelectAndClick(int index, int part);

  // Clicks as a user would, whatever the list holds; records the address
  // that the program's own list says the click must open.
  void Click(int part);

  const Tally& tally() const { return tally_; }
  bool failed() const { return !tally_.failure.empty(); }

 private:
  struct Step {
    const char* what;
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  bool Send(const char* what, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
            LRESULT* result = nullptr);
  void Post(const char* what, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Note(const char* what, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Fail(const std::string& why);

  void OneAction();
  void RareAction();
  void LabelFeedback();
  void PrivateMessage();
  void ListEdit();
  void FieldText();
  void LongFieldText();
  void KeyPressAnywhere();
  void KeyPress(HWND window);
  void KeyPress(HWND window, std::size_t key);
  void MoveFocus();
  void Repaint();
  void RedrawNow(HWND window, UINT flags);
  void ColourChange();

  HWND AnyWindow();
  std::wstring RandomText(std::size_t length);

  Target target_;
  Random random_;
  std::vector<LPARAM> scanCodes_;
  LRESULT items_ = -1;  // the list's item count, kept from the answers
  HANDLE process_;
  Tally tally_;
  std::uint32_t drainToken_ = 0;
  static constexpr int kHistory = 12;
  Step history_[kHistory] = {};
  std::uint64_t steps_ = 0;
  std::atomic<std::uint64_t> progress_{0};
};

}  // namespace soak
