// The desktop on Qt Widgets (Linux): native windows are QWidgets, the
// message queue is Qt's event loop. Like every desktop it decides nothing:
// what a key, a close request or an activation leads to is the shell's.
// Needs a QApplication that outlives it.
#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

#include "qt/key_router.h"
#include "qt/top_level_widget.h"
#include "shell/desktop.h"

class QEventLoop;
class QKeyEvent;

namespace valdremo::qt {

class QtDesktop final : public Desktop {
 public:
  QtDesktop();
  ~QtDesktop() override;
  QtDesktop(const QtDesktop&) = delete;
  QtDesktop& operator=(const QtDesktop&) = delete;

  static QWidget* WidgetOf(NativeWindow window) { return static_cast<QWidget*>(window); }
  static NativeWindow Handle(QWidget* widget) { return widget; }

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
  // The window of ours that `widget` belongs to, across the drop-down
  // lists that are windows of their own; null for other windows.
  TopLevelWidget* OwnerOf(QWidget* widget) const;
  bool RouteKey(QWidget* window, const QKeyEvent& event);
  void ReportActivation(TopLevelWidget* window, bool active);
  void WatchSessionEnd();

  std::vector<QPointer<TopLevelWidget>> windows_;
  KeyRouter router_;
  QEventLoop* loop_ = nullptr;
  bool quitPosted_ = false;
  int quitCode_ = 0;
  // Why the shell moves the focus at this moment, so that the widgets act
  // on it as they do on Qt's own focus moves.
  Qt::FocusReason focusReason_ = Qt::OtherFocusReason;
};

}  // namespace valdremo::qt
