// A desktop without a display: it keeps native windows as plain records,
// remembers what it was asked to do, and lets a test act as the user and the
// platform would (clicks, keys, activation, posted messages).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "shell/desktop.h"

namespace valdremo {

class HeadlessDesktop : public Desktop {
 public:
  // What ran out of messages answers instead of a quit code.
  static constexpr int kLoopRanDry = -1000;

  struct Node {
    bool topLevel = false;
    const WindowDefinition* window = nullptr;
    const ControlDefinition* control = nullptr;
    Node* parent = nullptr;
    std::uint32_t childId = 0;
    std::uint32_t styleBits = 0;
    Rect rect{};
    bool visible = false;
    bool enabled = true;
    bool alive = true;
    bool active = false;
    bool hasIcons = false;
    bool hasFont = false;
    std::string text;  // title, caption, label text or the combo box's field
    std::vector<std::pair<std::string, std::int32_t>> items;
    std::int32_t selection = -1;
    std::int32_t itemHeightIncrease = 0;
    std::vector<Node*> children;  // top of the stack first
  };

  // Knobs a test sets before the build.
  Size screen{1920, 1080};
  Size frameSlack{0, 0};   // what the platform adds to the asked outer size
  int failControlAt = -1;  // the n-th CreateControl (from 0) fails
  bool failTopLevel = false;

  // What the desktop was asked to do, in order ("create 按钮1 100", ...).
  std::vector<std::string> log;
  std::vector<std::string> openedAddresses;
  std::vector<std::string> failureMessages;
  std::vector<std::unique_ptr<Node>> nodes;
  Node* focus = nullptr;

  // Acting as the platform and the user.
  void Post(std::function<void()> message);
  // Posted once the event loop runs, after the build's own pumping.
  void PostWhenLoopStarts(std::function<void()> message);
  Node* Find(const char* controlName) const;
  Node* TopLevel() const;  // the first top-level window still alive
  void Click(Node* button);
  // Offers the key to the window first, then gives it to the focused
  // control (Space clicks a button, as the platform's button does). Answers
  // whether the window consumed it.
  bool PressKey(Key key, Modifiers modifiers = {}, bool space = false);
  void Deactivate(Node* window);
  void Activate(Node* window);
  void CloseBox(Node* window);

  static NativeWindow Handle(Node* node) { return node; }
  static Node* NodeOf(NativeWindow window) { return static_cast<Node*>(window); }

  // Desktop.
  Size PrimaryScreenSize() override;
  NativeWindow CreateTopLevel(const WindowDefinition& definition, Rect outer) override;
  Size OuterSize(NativeWindow window) override;
  void SetOuterRect(NativeWindow window, Rect outer) override;
  void SetIcons(NativeWindow window) override;
  void SetDefaultFont(NativeWindow window) override;
  void ShowTopLevel(NativeWindow window) override;
  void Destroy(NativeWindow window) override;
  NativeWindow CreateControl(const ControlCreateParams& params) override;
  void StackBelow(NativeWindow control, NativeWindow above) override;
  void ShowControl(NativeWindow control) override;
  Rect ControlRect(NativeWindow control) override;
  bool IsVisible(NativeWindow window) override;
  bool IsEnabled(NativeWindow window) override;
  void SetFocus(NativeWindow control) override;
  NativeWindow FocusedControl(NativeWindow window) override;
  std::int32_t ListSelection(NativeWindow comboBox) override;
  std::int32_t ListCount(NativeWindow comboBox) override;
  std::int32_t ListItemValue(NativeWindow comboBox, std::int32_t index) override;
  void ProcessPendingMessages() override;
  int RunMessageLoop() override;
  void PostQuit(int code) override;
  void ReportStartupFailure(const char* message) override;
  void OpenAddress(const char* address) override;

 private:
  struct Message {
    bool quit;
    int code;
    std::function<void()> run;
  };
  std::deque<Message> queue_;
  std::vector<std::function<void()>> atLoopStart_;
  int controlsCreated_ = 0;
};

}  // namespace valdremo
