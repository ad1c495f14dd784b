#include "qt/key_router.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace valdremo::qt {

Key ShellKeyOf(const QKeyEvent& event, Modifiers* modifiers) {
  const Qt::KeyboardModifiers held = event.modifiers();
  *modifiers = Modifiers{held.testFlag(Qt::ControlModifier), held.testFlag(Qt::ShiftModifier),
                         held.testFlag(Qt::AltModifier)};
  switch (event.key()) {
    case Qt::Key_Tab:
      return Key::Tab;
    case Qt::Key_Backtab:
      // Qt names Shift+Tab Backtab; it is still Tab with Shift held.
      modifiers->shift = true;
      return Key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    case Qt::Key_Escape:
      return Key::Escape;
    case Qt::Key_F1:
      return Key::F1;
    default:
      return Key::Other;
  }
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
  // The native window sees the key once and before its widgets do; widgets
  // see it again for each parent it is passed on to.
  if (event->type() != QEvent::KeyPress || !watched->isWindowType()) return false;
  const QWindow* window = static_cast<QWindow*>(watched);
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->windowHandle() == window) {
      return route_(widget, *static_cast<QKeyEvent*>(event));
    }
  }
  return false;
}

}  // namespace valdremo::qt
