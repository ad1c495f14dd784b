// What the user can do with the Qt window: where the focus goes, which keys
// the window takes before its controls, clicks, and closing it.
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "qt_fixture.h"
#include "window/main_window.h"

namespace valdremo::qt::testing {
namespace {

// Types text into the focused widget as the keyboard would, character by
// character, Chinese ones included.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

std::uint32_t IdOf(const QString& name) {
  const WindowDefinition& window = MainWindowDefinition();
  for (std::size_t i = 0; i < window.controlCount; ++i) {
    if (name == QString::fromUtf8(window.controls[i].name)) return window.controls[i].id;
  }
  return 0;
}

}  // namespace

class InputTest : public QObject {
  Q_OBJECT

 private slots:
  void focusStartsOnTheWordButton() {
    BuiltWindow built;
    QVERIFY(built.built());
    QCOMPARE(built.focused(), QString::fromUtf8("按钮1"));
    QCOMPARE(QApplication::focusWidget(), built.control(kWordButtonId));
  }

  void tabSequence_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    const int tab = Qt::Key_Tab;
    const int backtab = Qt::Key_Backtab;  // Shift+Tab as Qt delivers it
    QTest::newRow("Tab from 按钮1")
        << QString::fromUtf8("按钮1") << tab << QString::fromUtf8("组合框1");
    QTest::newRow("Tab from 组合框1")
        << QString::fromUtf8("组合框1") << tab << QString::fromUtf8("按钮2");
    QTest::newRow("Tab from 按钮2")
        << QString::fromUtf8("按钮2") << tab << QString::fromUtf8("按钮3");
    QTest::newRow("Tab from 按钮3")
        << QString::fromUtf8("按钮3") << tab << QString::fromUtf8("按钮1");
    QTest::newRow("Shift+Tab from 按钮1")
        << QString::fromUtf8("按钮1") << backtab << QString::fromUtf8("按钮3");
    QTest::newRow("Shift+Tab from 组合框1")
        << QString::fromUtf8("组合框1") << backtab << QString::fromUtf8("按钮1");
    QTest::newRow("Shift+Tab from 按钮2")
        << QString::fromUtf8("按钮2") << backtab << QString::fromUtf8("组合框1");
  }

  void tabSequence() {
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    BuiltWindow built;
    QVERIFY(built.built());
    built.control(IdOf(from))->setFocus();
    built.press(key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(built.focused(), to);
    QCOMPARE(QApplication::focusWidget(), built.control(IdOf(to)));
  }

  void tabFromTheOpenListMovesOnAndClosesIt() {
    BuiltWindow built;
    QVERIFY(built.built());
    QComboBox* list = built.paperList();
    list->setFocus();
    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());
    built.press(Qt::Key_Tab);
    QTRY_VERIFY(!list->view()->isVisible());
    // Only the window's own focus: the offscreen platform, unlike X11, hands
    // the activation to the dropped list and leaves it there.
    QCOMPARE(built.focused(), QString::fromUtf8("按钮2"));
  }

  // Keys that the window leaves alone: no click, no close, no focus move.
  void keysThatDoNothing_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const int none = Qt::NoModifier;
    for (const char* from : {"按钮1", "组合框1"}) {
      const QString name = QString::fromUtf8(from);
      QTest::addRow("Enter on %s", from) << name << int(Qt::Key_Return) << none;
      QTest::addRow("keypad Enter on %s", from)
          << name << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
      QTest::addRow("F1 on %s", from) << name << int(Qt::Key_F1) << none;
      QTest::addRow("Shift+Esc on %s", from)
          << name << int(Qt::Key_Escape) << int(Qt::ShiftModifier);
    }
  }

  void keysThatDoNothing() {
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    UrlRecorder browser;
    BuiltWindow built;
    QVERIFY(built.built());
    built.paperList()->setCurrentIndex(0);  // a click would open a page now
    built.control(IdOf(from))->setFocus();
    const int code = built.runLoop([&] {
      built.press(key, Qt::KeyboardModifiers(modifiers));
      built.desktop.PostQuit(7);
    });
    QCOMPARE(code, 7);  // the loop ended by the quit posted here, not by a close
    QVERIFY(built.window() != nullptr);
    QCOMPARE(built.focused(), from);
    QCOMPARE(browser.urls, QStringList());
    QCOMPARE(built.paperList()->currentIndex(), 0);
  }

  void escapeCloses_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("listOpen");
    QTest::newRow("from 按钮1") << QString::fromUtf8("按钮1") << false;
    QTest::newRow("from 按钮3") << QString::fromUtf8("按钮3") << false;
    QTest::newRow("from the paper list's field") << QString::fromUtf8("组合框1") << false;
    QTest::newRow("from the open paper list") << QString::fromUtf8("组合框1") << true;
  }

  void escapeCloses() {
    QFETCH(QString, from);
    QFETCH(bool, listOpen);
    BuiltWindow built;
    QVERIFY(built.built());
    QPointer<QWidget> window = built.window();
    built.control(IdOf(from))->setFocus();
    if (listOpen) {
      built.paperList()->showPopup();
      QTRY_VERIFY(built.paperList()->view()->isVisible());
    }
    const int code = built.runLoop([&] { built.press(Qt::Key_Escape); });
    QCOMPARE(code, 0);
    QCOMPARE(built.shell.FindNativeWindow(kMainWindowId), nullptr);
    QVERIFY(window == nullptr || !window->isVisible());
    QTRY_VERIFY(window == nullptr);
  }

  void closeBoxCloses() {
    BuiltWindow built;
    QVERIFY(built.built());
    const int code = built.runLoop([&] { built.window()->close(); });
    QCOMPARE(code, 0);
    QCOMPARE(built.shell.FindNativeWindow(kMainWindowId), nullptr);
  }

  void quitPostedBeforeTheLoopEndsIt() {
    // Pumping the queue leaves a posted quit for the loop to take.
    BuiltWindow built;
    QVERIFY(built.built());
    built.desktop.PostQuit(5);
    built.desktop.ProcessPendingMessages();
    QCOMPARE(built.runLoop([] {}), 5);
    QVERIFY(built.window() != nullptr);
  }

  void typingChangesTheFieldOnly() {
    BuiltWindow built;
    QVERIFY(built.built());
    QComboBox* list = built.paperList();
    list->setFocus();
    const QString typed = QString::fromUtf8("Kestrune试卷3");
    Type(list, typed);
    built.press(Qt::Key_Return);
    built.press(Qt::Key_Tab);  // the field loses the focus
    QCOMPARE(list->lineEdit()->text(), typed);
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(list->count(), 23);
  }

  void clicks_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("pages");
    QTest::newRow("one mouse click") << QStringLiteral("mouse") << 1;
    QTest::newRow("two mouse clicks") << QStringLiteral("mouse twice") << 2;
    QTest::newRow("Space on the focused button") << QStringLiteral("space") << 1;
  }

  void clicks() {
    QFETCH(QString, how);
    QFETCH(int, pages);
    UrlRecorder browser;
    BuiltWindow built;
    QVERIFY(built.built());
    built.paperList()->setCurrentIndex(4);
    QPushButton* button = built.button(kExcelButtonId);
    if (how == QLatin1String("space")) {
      button->setFocus();
      built.press(Qt::Key_Space);
    } else {
      QTest::mouseClick(button, Qt::LeftButton);
      if (how == QLatin1String("mouse twice")) QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(browser.urls.size(), pages);
    for (const QString& url : browser.urls)
      QVERIFY(url.endsWith(QLatin1String("/MS/5_2_20150907.html")));
  }

  void focusComesBackAfterAnotherWindow() {
    BuiltWindow built;
    QVERIFY(built.built());
    built.press(Qt::Key_Tab);
    built.press(Qt::Key_Tab);
    QCOMPARE(built.focused(), QString::fromUtf8("按钮2"));

    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!built.window()->isActiveWindow());

    built.window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(built.window()));
    QCOMPARE(QApplication::focusWidget(), built.control(kExcelButtonId));
  }
};

}  // namespace valdremo::qt::testing

QTEST_MAIN(valdremo::qt::testing::InputTest)
#include "input_test.moc"
