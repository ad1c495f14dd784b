#include "headless/headless_desktop.h"

#include <algorithm>

#include "shell/shell.h"

namespace valdremo {

void HeadlessDesktop::Post(std::function<void()> message) {
  queue_.push_back(Message{false, 0, std::move(message)});
}

void HeadlessDesktop::PostWhenLoopStarts(std::function<void()> message) {
  atLoopStart_.push_back(std::move(message));
}

HeadlessDesktop::Node* HeadlessDesktop::Find(const char* controlName) const {
  for (const auto& node : nodes) {
    if (node->alive && node->control != nullptr && node->control->name == std::string(controlName))
      return node.get();
  }
  return nullptr;
}

HeadlessDesktop::Node* HeadlessDesktop::TopLevel() const {
  for (const auto& node : nodes) {
    if (node->alive && node->topLevel) return node.get();
  }
  return nullptr;
}

void HeadlessDesktop::Click(Node* button) {
  if (button != nullptr && button->alive && button->enabled && button->visible) {
    shell_->InputControlEvent(button, 0);
  }
}

bool HeadlessDesktop::PressKey(Key key, Modifiers modifiers, bool space) {
  Node* root = focus;
  while (root != nullptr && !root->topLevel) root = root->parent;
  if (root == nullptr) return false;
  if (shell_->InputKeyDown(root, key, modifiers)) return true;
  if (space && focus != nullptr && focus->control != nullptr &&
      focus->control->kind == ControlKind::Button) {
    Click(focus);
  }
  return false;
}

void HeadlessDesktop::Deactivate(Node* window) {
  shell_->InputWindowDeactivated(window);
  window->active = false;
  focus = nullptr;
}

void HeadlessDesktop::Activate(Node* window) {
  window->active = true;
  shell_->InputWindowActivated(window);
}

void HeadlessDesktop::CloseBox(Node* window) { shell_->InputCloseRequest(window); }

Size HeadlessDesktop::PrimaryScreenSize() { return screen; }

NativeWindow HeadlessDesktop::CreateTopLevel(const WindowDefinition& definition, Rect outer) {
  log.push_back("create-window");
  if (failTopLevel) return nullptr;
  auto node = std::make_unique<Node>();
  node->topLevel = true;
  node->window = &definition;
  node->text = definition.title;
  node->rect = {outer.left, outer.top, outer.width + frameSlack.width,
                outer.height + frameSlack.height};
  nodes.push_back(std::move(node));
  return nodes.back().get();
}

Size HeadlessDesktop::OuterSize(NativeWindow window) {
  return {NodeOf(window)->rect.width, NodeOf(window)->rect.height};
}

void HeadlessDesktop::SetOuterRect(NativeWindow window, Rect outer) {
  log.push_back("resize-window");
  NodeOf(window)->rect = outer;
  // The platform reports the move and the size as it applies them.
  shell_->InputWindowEvent(window, 3);
  shell_->InputWindowEvent(window, 4);
}

void HeadlessDesktop::SetIcons(NativeWindow window) { NodeOf(window)->hasIcons = true; }

void HeadlessDesktop::SetDefaultFont(NativeWindow window) { NodeOf(window)->hasFont = true; }

void HeadlessDesktop::ShowTopLevel(NativeWindow window) {
  log.push_back("show-window");
  NodeOf(window)->visible = true;
  Activate(NodeOf(window));
}

void HeadlessDesktop::Destroy(NativeWindow window) {
  Node* node = NodeOf(window);
  if (!node->alive) return;
  log.push_back(node->topLevel ? "destroy-window" : "destroy-control");
  if (node->topLevel) shell_->InputWindowDestroying(window);
  for (Node* child : node->children) {
    child->alive = false;
    if (focus == child) focus = nullptr;
  }
  node->alive = false;
  if (focus == node) focus = nullptr;
  if (node->parent != nullptr) {
    auto& siblings = node->parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
  }
  if (node->topLevel) shell_->InputWindowDestroyed(window);
}

NativeWindow HeadlessDesktop::CreateControl(const ControlCreateParams& params) {
  const ControlDefinition& control = *params.definition;
  log.push_back("create " + std::string(control.name) + " " + std::to_string(params.childId));
  if (controlsCreated_++ == failControlAt) return nullptr;
  auto node = std::make_unique<Node>();
  node->control = &control;
  node->parent = NodeOf(params.parent);
  node->childId = params.childId;
  node->styleBits = params.styleBits;
  node->rect = params.rect;
  node->enabled = (params.styleBits & style::kDisabled) == 0;
  switch (control.kind) {
    case ControlKind::Label:
      node->text = control.label->text;
      break;
    case ControlKind::Button:
      node->text = control.button->text;
      break;
    case ControlKind::ComboBox: {
      const ComboBoxProperties& list = *control.comboBox;
      node->text = list.text;
      node->itemHeightIncrease = list.lineSpacing;
      for (std::size_t i = 0; i < list.itemCount; ++i) {
        node->items.emplace_back(list.itemTexts[i], i < list.valueCount ? list.itemValues[i] : 0);
      }
      const auto last = static_cast<std::int32_t>(list.itemCount) - 1;
      node->selection = std::clamp(list.currentSelection, std::int32_t{-1}, last);
      break;
    }
  }
  // New children go to the bottom of the stack, as native child windows do.
  node->parent->children.push_back(node.get());
  nodes.push_back(std::move(node));
  return nodes.back().get();
}

void HeadlessDesktop::StackBelow(NativeWindow control, NativeWindow above) {
  Node* node = NodeOf(control);
  auto& siblings = node->parent->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
  auto at = siblings.begin();
  if (above != nullptr) at = std::find(siblings.begin(), siblings.end(), NodeOf(above)) + 1;
  siblings.insert(at, node);
}

void HeadlessDesktop::ShowControl(NativeWindow control) {
  log.push_back("show " + std::string(NodeOf(control)->control->name));
  NodeOf(control)->visible = true;
}

Rect HeadlessDesktop::ControlRect(NativeWindow control) { return NodeOf(control)->rect; }

bool HeadlessDesktop::IsVisible(NativeWindow window) {
  for (Node* node = NodeOf(window); node != nullptr; node = node->parent) {
    if (!node->visible) return false;
  }
  return true;
}

bool HeadlessDesktop::IsEnabled(NativeWindow window) { return NodeOf(window)->enabled; }

void HeadlessDesktop::SetFocus(NativeWindow control) { focus = NodeOf(control); }

NativeWindow HeadlessDesktop::FocusedControl(NativeWindow window) {
  for (Node* node = focus; node != nullptr; node = node->parent) {
    if (node->parent == NodeOf(window)) return node;
  }
  return nullptr;
}

std::int32_t HeadlessDesktop::ListSelection(NativeWindow comboBox) {
  return NodeOf(comboBox)->selection;
}

std::int32_t HeadlessDesktop::ListCount(NativeWindow comboBox) {
  return static_cast<std::int32_t>(NodeOf(comboBox)->items.size());
}

std::int32_t HeadlessDesktop::ListItemValue(NativeWindow comboBox, std::int32_t index) {
  return NodeOf(comboBox)->items.at(static_cast<std::size_t>(index)).second;
}

void HeadlessDesktop::ProcessPendingMessages() {
  log.push_back("pump");
  while (!queue_.empty() && !queue_.front().quit) {
    Message message = std::move(queue_.front());
    queue_.pop_front();
    message.run();
  }
}

int HeadlessDesktop::RunMessageLoop() {
  for (auto& message : atLoopStart_) Post(std::move(message));
  atLoopStart_.clear();
  while (!queue_.empty()) {
    Message message = std::move(queue_.front());
    queue_.pop_front();
    if (message.quit) return message.code;
    message.run();
  }
  return kLoopRanDry;
}

void HeadlessDesktop::PostQuit(int code) { queue_.push_back(Message{true, code, nullptr}); }

void HeadlessDesktop::ReportStartupFailure(const char* message) {
  failureMessages.emplace_back(message);
}

void HeadlessDesktop::OpenAddress(const char* address) { openedAddresses.emplace_back(address); }

}  // namespace valdremo
