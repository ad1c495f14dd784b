// The Qt program's window under hostile input in its own process, on Qt's
// offscreen platform, and without a browser. Every run prints its seed; set
// VALDREMO_SOAK_SEED to replay one (VALDREMO_SOAK_ACTIONS changes the
// length of the soak).
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmapCache>
#include <QTest>
#include <QTimer>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>

#include "build_config.h"
#include "hostile_input.h"
#include "qt_fixture.h"

namespace soak {
namespace {

using valdremo::qt::testing::BuiltWindow;
using valdremo::qt::testing::UrlRecorder;

constexpr std::uint64_t kDefaultSeed = 20150907;
constexpr std::uint64_t kActions = 100000;
constexpr std::uint64_t kClicks = 300;
constexpr std::uint64_t kWarmUpActions = 5000;
constexpr std::size_t kMemorySlack = 1024 * 1024;

std::uint64_t Setting(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && text[0] != '\0' ? std::strtoull(text, nullptr, 0) : fallback;
}

bool IsTutorialAddress(const QString& address) {
  for (const auto& paper : valdremo::build::kTutorialAddresses) {
    for (const char* tutorial : paper) {
      if (address == QString::fromUtf8(tutorial)) return true;
    }
  }
  return false;
}

// True if the event loop runs a timer that is due at once within a second.
bool Answers() {
  bool answered = false;
  QTimer::singleShot(0, [&answered] { answered = true; });
  QElapsedTimer clock;
  clock.start();
  while (!answered && clock.elapsed() < 1000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return answered;
}

// The windows of this process that show, besides the program's own.
QStringList OtherVisibleWindows(const QWidget* own) {
  QStringList others;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != own && widget->isVisible()) others << widget->metaObject()->className();
  }
  return others;
}

// The bytes that the heap has handed out and not had back (glibc's count):
// what a leak grows. The process's anonymous memory (RssAnon) also moves
// with how much freed memory malloc keeps, by up to a megabyte between two
// runs of the same seed. Qt's pixmap cache is emptied first: it keeps up to
// 10 MiB of drawn pieces of widgets whatever the program does, and with Qt 5
// each change of the desktop's colours fills it with new ones.
std::size_t HeapInUse() {
  QPixmapCache::clear();
  return mallinfo2().uordblks;
}

QtMessageHandler previous = nullptr;

double MiB(std::size_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

class QtSoak : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // The offscreen platform says so each time a drop-down list opens.
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
          if (message.startsWith(QLatin1String("This plugin does not support"))) return;
          if (previous != nullptr) previous(type, context, message);
        });
  }
  void cleanupTestCase() { qInstallMessageHandler(previous); }

  void aHundredThousandActionsLeaveTheWindowAnsweringCleanAndClosable() {
    const std::uint64_t seed = Setting("VALDREMO_SOAK_SEED", kDefaultSeed);
    const std::uint64_t actions = Setting("VALDREMO_SOAK_ACTIONS", kActions);
    std::printf("soak seed %llu (replay: VALDREMO_SOAK_SEED=%llu), %llu actions\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(actions));
    UrlRecorder browser;
    browser.urls.reserve(2 * static_cast<int>(kClicks));  // grows no more during the soak
    BuiltWindow built;
    QVERIFY(built.built());
    QtHostileInput input(built, seed);

    // Memory is compared with what the process holds once every kind of
    // action has been done: what it allocates for good then is no leak.
    input.Run(kWarmUpActions, 10);
    input.EveryRareActionOnce();
    const std::size_t warm = HeapInUse();
    const std::size_t warmResident = AnonymousMemory();

    QElapsedTimer clock;
    clock.start();
    input.Run(actions, kClicks);
    const std::size_t after = HeapInUse();
    std::printf("soak: %llu actions in %.1f s, %llu clicks, %lld pages\n",
                static_cast<unsigned long long>(input.actions()),
                static_cast<double>(clock.elapsed()) / 1000,
                static_cast<unsigned long long>(input.clicks()),
                static_cast<long long>(input.expected().size()));
    std::printf(
        "soak: heap in use %.2f MiB after warm-up, %.2f MiB after the soak"
        " (anonymous memory %.2f and %.2f MiB)\n",
        MiB(warm), MiB(after), MiB(warmResident), MiB(AnonymousMemory()));

    QVERIFY(input.actions() >= kWarmUpActions + actions);
    QVERIFY2(Answers(), "no answer within 1 s");
    for (const QString& url : browser.urls) {
      QVERIFY2(IsTutorialAddress(url), qPrintable("not a tutorial page: " + url));
    }
    QCOMPARE(browser.urls, input.expected());
    QVERIFY2(warm > 0, "the process's memory cannot be read");
    QVERIFY2(after <= warm + kMemorySlack,
             qPrintable(QStringLiteral("grew by %1 MiB").arg(MiB(after - warm))));
    // Esc still closes the window, and the program's loop ends with 0.
    QCOMPARE(built.runLoop([&built] { built.press(Qt::Key_Escape); }), 0);
  }

  // The offscreen platform opens no web addresses, and no handler is
  // installed here: every click finds no browser.
  void withoutABrowserAClickOpensNothingShowsNothingAndTheWindowKeepsWorking() {
    BuiltWindow built;
    QVERIFY(built.built());
    QtHostileInput input(built, Setting("VALDREMO_SOAK_SEED", kDefaultSeed) + 3);
    input.EveryRareActionOnce();
    QCOMPARE(input.expected().size(), 3);  // three clicks that meant to open a page
    QCoreApplication::processEvents();
    QCOMPARE(OtherVisibleWindows(built.window()), QStringList());

    input.Run(2000, 6);
    QVERIFY(Answers());
    QCOMPARE(OtherVisibleWindows(built.window()).filter(QStringLiteral("QMessageBox")),
             QStringList());
    QCOMPARE(built.runLoop([&built] { built.press(Qt::Key_Escape); }), 0);
  }
};

}  // namespace soak

QTEST_MAIN(soak::QtSoak)
#include "soak_test.moc"
