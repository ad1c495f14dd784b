#include "qt/startup.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace valdremo::qt {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

QtMessageHandler previousHandler = nullptr;
bool platformReady = false;

void GuardMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) {
    // Qt's first sentence says what failed; the rest advises reinstalling.
    QString first = message.section(QLatin1Char('\n'), 0, 0);
    const auto end = first.indexOf(QLatin1String(". "));
    if (end >= 0) first.truncate(end + 1);
    const QByteArray detail = first.toLocal8Bit();
    if (platformReady) {
      std::fprintf(stderr, "valdremo: 程序出错，无法继续运行。\n");
      std::fprintf(stderr, "valdremo: fatal: %s\n", detail.constData());
    } else {
      std::fprintf(stderr, "valdremo: 程序无法启动：无法打开图形显示。\n");
      std::fprintf(stderr, "valdremo: cannot start: %s\n", detail.constData());
    }
    std::fflush(stderr);
    std::_Exit(kStartFailedExitCode);
  }
  if (previousHandler != nullptr) {
    previousHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n",
                 qFormatLogMessage(type, context, message).toLocal8Bit().constData());
  }
}

}  // namespace

const char* MissingDisplay(int argc, char** argv) {
  // A platform named on the command line or in the environment is Qt's to
  // try; it reports its own failure through the fatal guard.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
      return nullptr;
    }
  }
  if (IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return nullptr;
  return "程序无法启动：没有可用的图形显示。\n"
         "valdremo: cannot start: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

void InstallFatalMessageGuard() { previousHandler = qInstallMessageHandler(&GuardMessage); }

void MarkPlatformReady() { platformReady = true; }

}  // namespace valdremo::qt
