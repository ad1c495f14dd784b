// The program's top-level window on Qt: a fixed-size widget whose outer
// size, frame included, is the definition's wherever the window manager
// tells its frame. It tells its owner about close requests, activation and
// moves; what they lead to is the shell's decision.
#pragma once

#include <QRect>
#include <QWidget>

#include <functional>

#include "window/definition.h"

namespace valdremo::qt {

class TopLevelWidget : public QWidget {
 public:
  struct Reports {
    std::function<void()> closeRequest;
    std::function<void()> activated;
    std::function<void()> deactivated;
    std::function<void(std::int32_t event)> windowEvent;
  };

  TopLevelWidget(const WindowDefinition& definition, QRect outer);

  void SetReports(Reports reports) { reports_ = std::move(reports); }
  // The shell is done with the window: it reports nothing more.
  void Detach();

  // Places the frame's top-left corner at outer's and keeps the outer size.
  void SetOuterRect(QRect outer);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitFrame();
  // Calls a copy: the report may lead to Detach, which drops the original.
  static void Report(std::function<void()> report);

  Reports reports_;
  bool detached_ = false;
  QSize outerSize_;
};

}  // namespace valdremo::qt
