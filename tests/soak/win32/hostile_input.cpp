#include "hostile_input.h"

#include <cstdio>
#include <mutex>
#include <thread>

#include "build_config.h"

namespace soak {
namespace {

constexpr UINT kLabelFeedback = WM_APP + 0x75;
constexpr int kLabelIds[3] = {140, 150, 160};
constexpr int kButtonIds[3] = {100, 120, 130};
constexpr int kPaperListId = 110;
constexpr int kPaperCount = 23;

// A sent message that is not answered within this time is a hang.
constexpr DWORD kAnswerTimeoutMs = 5000;
// Posted messages are handled after everything posted before them; a few
// thousand of them take well under a second.
constexpr DWORD kDrainTimeoutMs = 20000;
// A call that may block without a timeout of its own (RedrawWindow with
// RDW_UPDATENOW waits for the paint) is cut short after this long.
constexpr ULONGLONG kStuckMs = 20000;
// Posted messages pile up in the program's queue unless handled; waiting
// for them now and then keeps the queue short and a hang near its cause.
constexpr std::uint64_t kDrainEvery = 500;
// The list grows with the items added; past this it loses them instead.
constexpr LRESULT kMaxItems = 60;

// Keys posted to the controls and the paper list's field. Esc is left out
// (it closes the window) and Alt+F4 is never a plain key-down; Space on a
// button is a click, and clicks are counted out separately.
constexpr WORD kKeys[] = {
    VK_BACK, VK_TAB,  VK_RETURN, VK_SHIFT, VK_CONTROL, VK_SPACE,     VK_PRIOR,      VK_NEXT,
    VK_END,  VK_HOME, VK_LEFT,   VK_UP,    VK_RIGHT,   VK_DOWN,      VK_INSERT,     VK_DELETE,
    VK_F1,   VK_F2,   VK_F4,     VK_F5,    VK_NUMPAD5, VK_OEM_MINUS, VK_OEM_PERIOD, '0',
    '1',     '7',     'A',       'E',      'K',        'Q',          'X',           'Z',
};
constexpr std::size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];
constexpr std::size_t kTabKey = 1;
static_assert(kKeys[kTabKey] == VK_TAB && kKeys[kKeyCount - 1] != VK_SPACE);

// The Chinese characters of random texts. A fixed few, and a few lone
// surrogates: Wine keeps every glyph it has drawn, and texts from all of
// Unicode would grow that cache through the whole soak, which the memory
// check would take for a leak.
constexpr wchar_t kChinese[] =
    L"试卷教程祝大家完美通过考试论坛二级视频学习中文字体窗口按钮列表标签一二三四五六七八九十";

// One system colour change at a time in this process, so two soaks at once
// always put the colour back as it was.
std::mutex colourChange;

LPARAM Text(const std::wstring& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

}  // namespace

bool Target::Find(HWND mainWindow) {
  main = mainWindow;
  for (int i = 0; i < 3; ++i) {
    labels[i] = GetDlgItem(main, kLabelIds[i]);
    buttons[i] = GetDlgItem(main, kButtonIds[i]);
    if (labels[i] == nullptr || buttons[i] == nullptr) return false;
  }
  list = GetDlgItem(main, kPaperListId);
  field = FindWindowExW(list, nullptr, L"Edit", nullptr);
  // The drop-down list is a top-level window of the program's thread.
  const DWORD thread = GetWindowThreadProcessId(main, nullptr);
  dropDown = nullptr;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"ComboLBox", nullptr));) {
    if (GetWindowThreadProcessId(window, nullptr) == thread) dropDown = window;
  }
  return list != nullptr && field != nullptr && dropDown != nullptr;
}

HostileInput::HostileInput(const Target& target, std::uint64_t seed, HANDLE process)
    : target_(target), random_(seed), process_(process) {
  // Looked up once: under Wine each lookup asks the X server's keymap.
  for (WORD key : kKeys) {
    scanCodes_.push_back(static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)));
  }
}

void HostileInput::Run(std::uint64_t actions, std::uint64_t clicks) {
  std::atomic<bool> done{false};
  std::atomic<bool> stuck{false};
  std::thread watchdog([&] {
    std::uint64_t seen = progress_.load();
    ULONGLONG since = GetTickCount64();
    while (!done.load()) {
      Sleep(100);
      const std::uint64_t now = progress_.load();
      if (now != seen) {
        seen = now;
        since = GetTickCount64();
      } else if (GetTickCount64() - since > kStuckMs) {
        stuck = true;
        TerminateProcess(process_, 0xDEAD);  // unblocks the call that waits on it
        return;
      }
    }
  });

  const std::uint64_t clickEvery = clicks > 0 ? actions / clicks : 0;
  for (std::uint64_t i = 1; i <= actions && !failed(); ++i) {
    if (clickEvery > 0 && i % clickEvery == 0 && tally_.clicks < clicks) {
      Click(static_cast<int>(random_.Below(3)));
    } else {
      OneAction();
    }
    ++tally_.actions;
    if (i % kDrainEvery == 0 && !failed()) Drain();
  }
  if (!failed()) Drain();
  done = true;
  watchdog.join();
  if (stuck) {
    tally_.failure.clear();  // the calls that failed as the program was ended say less
    Fail("a call into the program blocked for " + std::to_string(kStuckMs / 1000) + " s (hang)");
  }
}

void HostileInput::EveryRareActionOnce() {
  LongFieldText();
  ColourChange();
  RefillPaperList();
  for (int part = 0; part < 3; ++part) SelectAndClick(part, part);
  Drain();
}

void HostileInput::OneAction() {
  // Weighted by what each costs under Wine: most are posted, which costs
  // next to nothing; a sent message takes a round trip (a tenth of a
  // millisecond to half of one), a list edit, a text set into the field or
  // a repaint a millisecond or more.
  struct Kind {
    std::uint32_t perMille;
    void (HostileInput::*act)();
  };
  static constexpr Kind kKinds[] = {
      {300, &HostileInput::LabelFeedback},    {369, &HostileInput::PrivateMessage},
      {180, &HostileInput::KeyPressAnywhere}, {40, &HostileInput::ListEdit},
      {10, &HostileInput::FieldText},         {30, &HostileInput::MoveFocus},
      {70, &HostileInput::Repaint},           {1, &HostileInput::RareAction},
  };
  (this->*random_.PickPerMille(kKinds).act)();
}

void HostileInput::KeyPressAnywhere() { KeyPress(AnyWindow()); }

void HostileInput::RareAction() {
  if (random_.OneIn(2)) {
    ColourChange();
  } else if (random_.OneIn(2)) {
    LongFieldText();
  } else {
    RefillPaperList();
  }
}

void HostileInput::LabelFeedback() {
  HWND label = target_.labels[random_.Below(3)];
  const WPARAM first = static_cast<WPARAM>(random_.Any());
  const LPARAM second = random_.Any();
  if (!random_.OneIn(5)) {
    Post("feedback", label, kLabelFeedback, first, second);
    return;
  }
  LRESULT answer = 0;
  if (Send("feedback", label, kLabelFeedback, first, second, &answer) && answer != 0) {
    Fail("the label feedback message was answered " + std::to_string(answer) + ", not 0");
  }
}

void HostileInput::PrivateMessage() {
  HWND window = AnyWindow();
  const UINT message = WM_APP + random_.Below(0xC000 - WM_APP);
  const WPARAM wParam = static_cast<WPARAM>(random_.Any());
  const LPARAM lParam = random_.Any();
  if (!random_.OneIn(5)) {
    Post("WM_APP+", window, message, wParam, lParam);
  } else {
    Send("WM_APP+", window, message, wParam, lParam);
  }
}

void HostileInput::ListEdit() {
  HWND list = target_.list;
  if (items_ < 0 && !Send("CB_GETCOUNT", list, CB_GETCOUNT, 0, 0, &items_)) return;
  const LRESULT count = items_;
  LRESULT result = CB_ERR;
  // Indices from a little below 0 to a little past the end.
  const auto index = static_cast<WPARAM>(
      static_cast<LRESULT>(random_.Below(static_cast<std::uint32_t>(count) + 5)) - 2);
  switch (random_.Below(11)) {
    case 0:
    case 1:
    case 2: {
      // Mostly paper numbers, so that clicks open pages; also the values
      // next to them and anything at all.
      constexpr LPARAM kBeside[] = {-1, 0, kPaperCount + 1, INT32_MIN, INT32_MAX};
      const std::uint32_t kind = random_.Below(10);
      const LPARAM value = kind < 5   ? static_cast<LPARAM>(1 + random_.Below(kPaperCount))
                           : kind < 8 ? kBeside[random_.Below(5)]
                                      : random_.Any();
      Send("CB_SETITEMDATA", list, CB_SETITEMDATA, index, value);
      break;
    }
    case 3:
    case 4: {
      const std::wstring text = RandomText(random_.Below(24));
      if (count >= kMaxItems) {
        if (Send("CB_DELETESTRING", list, CB_DELETESTRING, 0, 0, &result) && result >= 0) {
          items_ = result;
        }
      } else if (Send("CB_ADDSTRING", list, random_.OneIn(2) ? CB_ADDSTRING : CB_INSERTSTRING,
                      index, Text(text), &result) &&
                 result >= 0) {
        ++items_;
      }
      break;
    }
    case 5:
    case 6:
      // Answered with the number of items left.
      if (Send("CB_DELETESTRING", list, CB_DELETESTRING, index, 0, &result) && result >= 0) {
        items_ = result;
      }
      break;
    case 7:
    case 8:
    case 9:
      Send("CB_SETCURSEL", list, CB_SETCURSEL,
           random_.OneIn(4) ? static_cast<WPARAM>(random_.Any()) : index, 0);
      break;
    default:
      if (random_.OneIn(10)) {
        // Showing and hiding the list is a window mapped on the display:
        // costly, so rarer.
        Send("CB_SHOWDROPDOWN", list, CB_SHOWDROPDOWN, random_.Below(2), 0);
      } else if (random_.OneIn(10)) {
        Send("CB_RESETCONTENT", list, CB_RESETCONTENT, 0, 0);
        items_ = 0;
        if (!random_.OneIn(4)) RefillPaperList();
      } else {
        Send("CB_SETEDITSEL", list, CB_SETEDITSEL, 0, random_.Any());
      }
      break;
  }
}

void HostileInput::FieldText() {
  const std::wstring text = RandomText(random_.Below(32));
  HWND window = random_.OneIn(2) ? target_.list : target_.field;
  Send("WM_SETTEXT", window, WM_SETTEXT, 0, Text(text));
}

void HostileInput::LongFieldText() {
  // 64 KiB of text; every key typed into a field this long costs the
  // program a tenth of a second under Wine, so only one, then it goes.
  const std::wstring text = RandomText(65536);
  Send("WM_SETTEXT 64 KiB", target_.list, WM_SETTEXT, 0, Text(text));
  KeyPress(target_.field);
  Drain();
  Repaint();
  FieldText();
}

void HostileInput::KeyPress(HWND window) {
  std::size_t index = random_.Below(kKeyCount);
  const bool button =
      window == target_.buttons[0] || window == target_.buttons[1] || window == target_.buttons[2];
  if (button && kKeys[index] == VK_SPACE) index = kKeyCount - 1;
  KeyPress(window, index);
}

void HostileInput::KeyPress(HWND window, std::size_t index) {
  const WORD key = kKeys[index];
  const LPARAM scan = scanCodes_[index];
  Post("WM_KEYDOWN", window, WM_KEYDOWN, key, 1 | (scan << 16));
  Post("WM_KEYUP", window, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u));
}

void HostileInput::MoveFocus() {
  HWND controls[] = {target_.buttons[0], target_.buttons[1], target_.buttons[2], target_.list,
                     target_.field,      target_.labels[0],  target_.main};
  HWND to = controls[random_.Below(sizeof controls / sizeof controls[0])];
  switch (random_.Below(4)) {
    case 0:
      // Tab from wherever the focus is: the window moves it along.
      KeyPress(to, kTabKey);
      break;
    case 1: {
      // A focus change from outside: join the program's input for a moment.
      Note("SetFocus", to, 0, 0, 0);
      const DWORD thread = GetWindowThreadProcessId(target_.main, nullptr);
      if (AttachThreadInput(GetCurrentThreadId(), thread, TRUE)) {
        SetFocus(to);
        AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
      }
      ++progress_;
      break;
    }
    case 2:
      // Deactivated and activated again, as when the user switches away.
      Send("WM_ACTIVATE", target_.main, WM_ACTIVATE, WA_INACTIVE, 0);
      Send("WM_ACTIVATE", target_.main, WM_ACTIVATE, WA_ACTIVE, 0);
      break;
    default:
      Send("WM_SETFOCUS", target_.main, WM_SETFOCUS, 0, 0);
      break;
  }
}

void HostileInput::Repaint() {
  // Every label, now and then the window too, with or without all it
  // holds. A label that leaked a brush on each paint would show in the
  // memory check only after some fifteen thousand paints; each paint asked
  // for from outside takes a round trip of about a millisecond here.
  constexpr UINT kNow = RDW_INVALIDATE | RDW_UPDATENOW;
  for (HWND label : target_.labels) RedrawNow(label, kNow);
  if (random_.OneIn(4)) {
    RedrawNow(target_.main, random_.OneIn(4) ? kNow | RDW_ERASE | RDW_ALLCHILDREN : kNow);
  }
}

void HostileInput::RedrawNow(HWND window, UINT flags) {
  Note("RedrawWindow", window, flags, 0, 0);
  if (!RedrawWindow(window, nullptr, nullptr, flags)) Fail("RedrawWindow failed");
  ++progress_;
}

void HostileInput::ColourChange() {
  // A real change of the face colour, broadcast to every window, and back.
  Note("SetSysColors", target_.main, WM_SYSCOLORCHANGE, 0, 0);
  std::lock_guard<std::mutex> lock(colourChange);
  const int element = COLOR_BTNFACE;
  const COLORREF original = GetSysColor(element);
  const COLORREF changed = original ^ 0x00202020u;
  SetSysColors(1, &element, &changed);
  Send("WM_SYSCOLORCHANGE", target_.main, WM_SYSCOLORCHANGE, 0, 0);
  Repaint();
  SetSysColors(1, &element, &original);
  ++progress_;
}

bool HostileInput::Drain() {
  // The field keeps a length limit that anyone may set and read back; a
  // limit posted last is in place once everything before it is handled.
  // Twice: the key presses handled before the first limit post the typed
  // characters (WM_CHAR) behind it. The limits used are far beyond any text
  // the soak sets.
  for (int round = 0; round < 2; ++round) {
    const auto token = static_cast<LRESULT>(0x01000000u + (++drainToken_ & 0xFFFFFFu));
    Post("drain", target_.field, EM_SETLIMITTEXT, static_cast<WPARAM>(token), 0);
    const ULONGLONG end = GetTickCount64() + kDrainTimeoutMs;
    for (;;) {
      LRESULT limit = 0;
      if (!Send("EM_GETLIMITTEXT", target_.field, EM_GETLIMITTEXT, 0, 0, &limit)) return false;
      if (limit == token) break;
      if (GetTickCount64() > end) {
        Fail("posted messages not handled within " + std::to_string(kDrainTimeoutMs) + " ms");
        return false;
      }
      Sleep(1);
    }
  }
  return true;
}

void HostileInput::RefillPaperList() {
  Send("CB_RESETCONTENT", target_.list, CB_RESETCONTENT, 0, 0);
  items_ = 0;
  for (int paper = 1; paper <= kPaperCount && !failed(); ++paper) {
    const std::wstring text = L"Kestrune试卷" + std::to_wstring(paper);
    LRESULT at = CB_ERR;
    if (Send("CB_ADDSTRING", target_.list, CB_ADDSTRING, 0, Text(text), &at) && at >= 0) {
      ++items_;
      Send("CB_SETITEMDATA", target_.list, CB_SETITEMDATA, static_cast<WPARAM>(at), paper);
    }
  }
}

void HostileInput::SelectAndClick(int index, int part) {
  Send("CB_SETCURSEL", target_.list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  Click(part);
}

void HostileInput::Click(int part) {
  // What the click must open follows from the list as it is when the click
  // is handled: nothing else is in the queue by then, and the drop-down
  // list, which moves the selection as it closes, is closed first.
  if (!Drain()) return;
  HWND list = target_.list;
  LRESULT index = CB_ERR, count = 0, value = CB_ERR;
  Send("CB_SHOWDROPDOWN", list, CB_SHOWDROPDOWN, FALSE, 0);
  Send("CB_GETCURSEL", list, CB_GETCURSEL, 0, 0, &index);
  Send("CB_GETCOUNT", list, CB_GETCOUNT, 0, 0, &count);
  if (index >= 0 && index < count) {
    Send("CB_GETITEMDATA", list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0, &value);
  }
  if (!Send("BM_CLICK", target_.buttons[part], BM_CLICK, 0, 0)) return;
  ++tally_.clicks;
  if (value >= 1 && value <= kPaperCount) {
    tally_.expectedAddresses.push_back(valdremo::build::kTutorialAddresses[value - 1][part]);
  }
}

bool HostileInput::Send(const char* what, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result) {
  if (failed()) return false;
  Note(what, window, message, wParam, lParam);
  DWORD_PTR answer = 0;
  SetLastError(0);
  const LRESULT sent = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                           kAnswerTimeoutMs, &answer);
  ++progress_;
  ++tally_.sent;
  if (sent == 0) {
    const DWORD error = GetLastError();
    Fail(error == ERROR_TIMEOUT || error == 0
             ? "no answer within " + std::to_string(kAnswerTimeoutMs) + " ms (hang)"
             : "sending failed, error " + std::to_string(error));
    return false;
  }
  if (result != nullptr) *result = static_cast<LRESULT>(answer);
  return true;
}

void HostileInput::Post(const char* what, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (failed()) return;
  Note(what, window, message, wParam, lParam);
  if (!PostMessageW(window, message, wParam, lParam)) {
    Fail("posting failed, error " + std::to_string(GetLastError()));
  }
  ++progress_;
  ++tally_.posted;
}

void HostileInput::Note(const char* what, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  history_[steps_++ % kHistory] = Step{what, window, message, wParam, lParam};
}

void HostileInput::Fail(const std::string& why) {
  if (failed()) return;
  std::string text = "after " + std::to_string(tally_.actions) + " actions: " + why +
                     "\nlast steps, oldest first:\n";
  const std::uint64_t first = steps_ > kHistory ? steps_ - kHistory : 0;
  for (std::uint64_t i = first; i < steps_; ++i) {
    const Step& step = history_[i % kHistory];
    char line[160];
    std::snprintf(line, sizeof line,
                  "  %-18s window %p message 0x%04X wParam 0x%08lX lParam 0x%08lX\n", step.what,
                  static_cast<void*>(step.window), step.message,
                  static_cast<unsigned long>(step.wParam), static_cast<unsigned long>(step.lParam));
    text += line;
  }
  tally_.failure = text;
}

HWND HostileInput::AnyWindow() {
  HWND windows[] = {target_.main,       target_.labels[0],  target_.labels[1],  target_.labels[2],
                    target_.buttons[0], target_.buttons[1], target_.buttons[2], target_.list,
                    target_.field,      target_.dropDown};
  return windows[random_.Below(sizeof windows / sizeof windows[0])];
}

std::wstring HostileInput::RandomText(std::size_t length) {
  std::wstring text(length, L' ');
  for (wchar_t& c : text) {
    const std::uint32_t kind = random_.Below(16);
    c = kind < 9    ? static_cast<wchar_t>(0x20 + random_.Below(0x5F))  // ASCII
        : kind < 14 ? kChinese[random_.Below(sizeof kChinese / sizeof kChinese[0] - 1)]
        : kind < 15 ? static_cast<wchar_t>(L"\t\r\n\x7F"[random_.Below(4)])
                    : static_cast<wchar_t>(0xD800 + random_.Below(8));  // lone surrogate
  }
  return text;
}

}  // namespace soak
