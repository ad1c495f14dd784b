// Offers every key press to the window it happens in before any widget of
// that window sees it, as the shell's key table needs. It watches the
// application at the level of its native windows: each key press reaches a
// native window exactly once, also the drop-down list of a combo box, which
// is a window of its own.
#pragma once

#include <QObject>

#include <functional>

#include "shell/desktop.h"

class QKeyEvent;
class QWidget;

namespace valdremo::qt {

// The shell's view of a Qt key; keys it has no name for are Key::Other.
Key ShellKeyOf(const QKeyEvent& event, Modifiers* modifiers);

class KeyRouter : public QObject {
 public:
  // Given the top-level widget the key arrived at; answers true when the
  // key was consumed and must go no further.
  using Route = std::function<bool(QWidget* window, const QKeyEvent& event)>;

  explicit KeyRouter(Route route) : route_(std::move(route)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Route route_;
};

}  // namespace valdremo::qt
