// Shared pieces of the Qt desktop's tests: the main window built the way
// the program builds it, and a recorder for the addresses it asks to open.
#pragma once

#include <QComboBox>
#include <QObject>
#include <QPushButton>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <cstdint>
#include <functional>

#include "qt/qt_desktop.h"
#include "shell/shell.h"

namespace valdremo::qt::testing {

// Records every address handed to the desktop's web browser instead of
// opening it, for as long as it lives.
class UrlRecorder : public QObject {
  Q_OBJECT

 public:
  UrlRecorder();
  ~UrlRecorder() override;

  QStringList urls;

 public slots:
  void record(const QUrl& url);
};

// The main window built and shown on the Qt desktop, active and with the
// focus given, as the program has it before its event loop runs.
class BuiltWindow {
 public:
  // Answered by RunLoop when the loop was still running after its time.
  static constexpr int kTimedOut = -1000;

  BuiltWindow();
  bool built() const { return built_; }

  QWidget* window() const;
  QWidget* control(std::uint32_t id) const;
  QComboBox* paperList() const;
  QPushButton* button(std::uint32_t id) const;
  // The focused control's name in the definition, "(none)" when none has it.
  QString focused();
  // Presses a key as the window system delivers it: to the native window
  // that has the keyboard (the dropped list while it is open).
  void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Runs the program's event loop, doing `action` once it runs; answers the
  // code the loop ended with.
  int runLoop(const std::function<void()>& action, int timeoutMs = 5000);

  QtDesktop desktop;
  Shell shell;

 private:
  bool built_ = false;
};

}  // namespace valdremo::qt::testing
