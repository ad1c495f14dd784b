#include "qt_fixture.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "window/main_window.h"

namespace valdremo::qt::testing {

UrlRecorder::UrlRecorder() {
  QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "record");
}

UrlRecorder::~UrlRecorder() { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }

void UrlRecorder::record(const QUrl& url) { urls << url.toString(); }

BuiltWindow::BuiltWindow()
    : shell(desktop, ProgramWindowDefinitions(), ProgramWindowDefinitionCount()) {
  built_ = shell.InitializeShell() && shell.BuildWindow(kMainWindowId) &&
           QTest::qWaitForWindowActive(window());
}

QWidget* BuiltWindow::window() const {
  return QtDesktop::WidgetOf(shell.FindNativeWindow(kMainWindowId));
}

QWidget* BuiltWindow::control(std::uint32_t id) const {
  return QtDesktop::WidgetOf(shell.FindControl(kMainWindowId, id));
}

QComboBox* BuiltWindow::paperList() const {
  return qobject_cast<QComboBox*>(control(kPaperListId));
}

QPushButton* BuiltWindow::button(std::uint32_t id) const {
  return qobject_cast<QPushButton*>(control(id));
}

QString BuiltWindow::focused() {
  const ControlDefinition* definition =
      shell.ControlOf(desktop.FocusedControl(shell.FindNativeWindow(kMainWindowId)));
  return definition != nullptr ? QString::fromUtf8(definition->name) : QStringLiteral("(none)");
}

void BuiltWindow::press(int key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = window();
  if (QWidget* popup = QApplication::activePopupWidget()) target = popup;
  // The press may close the window; then no window is left for the release,
  // as on a real display.
  const QPointer<QWindow> handle = target->windowHandle();
  QTest::keyPress(handle, static_cast<Qt::Key>(key), modifiers);
  if (handle != nullptr) QTest::keyRelease(handle, static_cast<Qt::Key>(key), modifiers);
}

int BuiltWindow::runLoop(const std::function<void()>& action, int timeoutMs) {
  QTimer start;
  start.setSingleShot(true);
  QObject::connect(&start, &QTimer::timeout, action);
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [this] { desktop.PostQuit(kTimedOut); });
  start.start(0);
  guard.start(timeoutMs);
  shell.RunEventLoop();
  return shell.exitCode();
}

}  // namespace valdremo::qt::testing
