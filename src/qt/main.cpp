// The Linux program: a Qt application whose one window the shell builds and
// runs. Exit code 0 once the window has been closed; 255 (-1) when it
// cannot start, with the reason on stderr.
#include <QApplication>

#include <cstdio>

#include "qt/qt_desktop.h"
#include "qt/startup.h"
#include "shell/program.h"

int main(int argc, char** argv) {
  valdremo::qt::InstallFatalMessageGuard();
  if (const char* problem = valdremo::qt::MissingDisplay(argc, argv)) {
    std::fprintf(stderr, "valdremo: %s\n", problem);
    return valdremo::qt::kStartFailedExitCode;
  }
  QApplication application(argc, argv);
  valdremo::qt::MarkPlatformReady();
  QApplication::setApplicationName(QStringLiteral("valdremo"));
  // Ties the window to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("valdremo"));

  valdremo::qt::QtDesktop desktop;
  return valdremo::RunProgram(desktop);
}
