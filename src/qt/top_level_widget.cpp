#include "qt/top_level_widget.h"

#include <QCloseEvent>
#include <QEvent>
#include <QMoveEvent>
#include <QResizeEvent>

#include "qt/colours.h"

namespace valdremo::qt {
namespace {

Qt::WindowFlags FlagsOf(const WindowDefinition& definition) {
  // A title bar with the system menu and the close box; no sizing frame
  // (the size is fixed) and a maximise box only when the definition asks.
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (definition.minimiseButton) flags |= Qt::WindowMinimizeButtonHint;
  if (definition.maximiseButton) flags |= Qt::WindowMaximizeButtonHint;
  return flags;
}

}  // namespace

TopLevelWidget::TopLevelWidget(const WindowDefinition& definition, QRect outer)
    : QWidget(nullptr, FlagsOf(definition)) {
  setWindowTitle(QString::fromUtf8(definition.title));
  setFocusPolicy(Qt::NoFocus);
  if (definition.backgroundColour != kDefaultColour) {
    QPalette own = palette();
    own.setColor(QPalette::Window, ColourOf(definition.backgroundColour, QColor()));
    setPalette(own);
  }
  SetOuterRect(outer);
}

void TopLevelWidget::Detach() {
  reports_ = Reports{};
  detached_ = true;
}

void TopLevelWidget::Report(std::function<void()> report) {
  if (report) report();
}

void TopLevelWidget::SetOuterRect(QRect outer) {
  outerSize_ = outer.size();
  // Until the window manager has framed the window, the frame is unknown
  // and the client takes the whole outer size; FitFrame corrects it later.
  FitFrame();
  // A top-level widget's position is that of its frame.
  move(outer.topLeft());
}

void TopLevelWidget::FitFrame() {
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  const QSize margins(frame.width() - client.width(), frame.height() - client.height());
  const QSize wanted = outerSize_ - margins;
  if (wanted != size() || minimumSize() != maximumSize()) setFixedSize(wanted);
}

bool TopLevelWidget::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  switch (event->type()) {
    case QEvent::Show:
      // The frame may be known from here on.
      FitFrame();
      break;
    case QEvent::WindowActivate:
      Report(reports_.activated);
      break;
    case QEvent::WindowDeactivate:
      Report(reports_.deactivated);
      break;
    default:
      break;
  }
  return handled;
}

void TopLevelWidget::closeEvent(QCloseEvent* event) {
  // The close box and Alt+F4 come here. Whether the window goes is the
  // shell's decision, and the shell destroys it itself; Qt only learns
  // whether it went.
  Report(reports_.closeRequest);
  event->setAccepted(detached_);
}

void TopLevelWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  FitFrame();
  // Moves that come from the window system: the user or the window manager.
  if (event->spontaneous() && reports_.windowEvent) {
    Report([report = reports_.windowEvent] { report(event::kWindowMoved); });
  }
}

void TopLevelWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->spontaneous() && reports_.windowEvent) {
    Report([report = reports_.windowEvent] { report(event::kWindowResized); });
  }
}

}  // namespace valdremo::qt
